#include "provadb.h"

#include <QFile>

QString ddlTabella(MotoreDb motore, const QString &nome, const std::vector<ColonnaProva> &colonne, const QStringList &chiave)
{
    const bool sq = motore == MotoreDb::SQLite;
    QStringList parti;
    for (const ColonnaProva &c : colonne) {
        QString t;
        switch (c.tipo) {
        case TipoCampo::Testo: t = sq ? QStringLiteral("VARCHAR(%1) COLLATE NOCASE").arg(c.lunghezza) : QStringLiteral("citext"); break;
        case TipoCampo::Memo: t = sq ? QStringLiteral("TEXT COLLATE NOCASE") : QStringLiteral("citext"); break;
        case TipoCampo::Intero: t = QStringLiteral("SMALLINT"); break;
        case TipoCampo::Lungo: t = QStringLiteral("INTEGER"); break;
        case TipoCampo::Doppio: t = sq ? QStringLiteral("DOUBLE") : QStringLiteral("double precision"); break;
        case TipoCampo::Valuta: t = sq ? QStringLiteral("CURRENCY_E4") : QStringLiteral("numeric(19,4)"); break;
        case TipoCampo::Data: t = QStringLiteral("DATE"); break;
        case TipoCampo::DataOra: t = sq ? QStringLiteral("DATETIME") : QStringLiteral("timestamp(0) without time zone"); break;
        case TipoCampo::Sconosciuto: t = QStringLiteral("TEXT"); break;
        }
        parti << QLatin1String(c.nome) + QLatin1Char(' ') + t;
    }
    if (!chiave.isEmpty())
        parti << QStringLiteral("PRIMARY KEY (%1)").arg(chiave.join(QStringLiteral(", ")));
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(nome, parti.join(QStringLiteral(", ")));
}

QString nomeConnessione(const ScratchDb &s)
{
    if (s.engine() == Engine::SQLite) {
        QFile f(s.location());
        if (!f.exists()) {
            f.open(QIODevice::WriteOnly);
            f.close();
        }
        return s.location();
    }
    return QStringLiteral("ODBC;") + s.location();
}

void ProvaDb::SetUp()
{
    scratch = ScratchDb::create(GetParam());
    if (IsSkipped()) return;
    if (!scratch) GTEST_FAIL() << "database di prova non disponibile";
    conn = db.Connetti(nomeConnessione(*scratch));
}

void ProvaDb::TearDown()
{
    rs.ChiudiTutti();
    db.Chiudi();
}

void ProvaDb::crea(const QString &nome, const std::vector<ColonnaProva> &colonne, const QStringList &chiave)
{
    db.Esegui(conn, ddlTabella(motore(), nome, colonne, chiave), dbSQLPassThrough);
    db.AggiornaCatalogo(conn);
}

Variant ProvaDb::scalare(const QString &sql)
{
    const QString a = rs.Apri(db, conn, QString(), sql, false, dbOpenSnapshot);
    Variant v;
    if (!rs.NessunRecord(a)) {
        Recordset &r = rs.Recordset(a);
        v = r.Valore(0, 0);
    }
    rs.Chiudi(a);
    return v;
}

std::vector<int> ProvaDb::interi(const QString &sql)
{
    std::vector<int> out;
    const QString a = rs.Apri(db, conn, QString(), sql);
    Recordset &r = rs.Recordset(a);
    for (int i = 0; i < r.RecordCount(); ++i) out.push_back(r.Valore(i, 0).toLong());
    rs.Chiudi(a);
    return out;
}

int ProvaDb::conta(const QString &tabellaEWhere)
{
    return scalare(QStringLiteral("SELECT count(*) AS N FROM ") + tabellaEWhere).toLong();
}
