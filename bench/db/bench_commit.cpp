// Small commits as a run makes them: a lock row taken, re-staged and released in LockGest, each
// statement its own transaction (three commits). The library against raw statements on the
// company file's settings; and, raw only, what one such lock costs under each journal and
// synchronous setting of SQLite, for the choice of the file's settings.
#include "banco.h"
#include "gestrecordset.h"
#include "utilgenerali.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

void bloccoGrezzo(QSqlDatabase db, int numero)
{
    static const char *const testi[] = {
        "SELECT * FROM LockGest WHERE Tipo = ? AND Anno = ? AND NumReg = ?",
        "INSERT INTO LockGest (Tipo, Anno, NumReg, Utente, Stato, Ora, Gestione, Varie, PadreTipo, PadreAnno, PadreNumReg) "
        "VALUES (?, ?, ?, 'utente', '0', '2024-05-01 10:00:00', '3', '', 'O', 2024, 1)",
        "UPDATE LockGest SET Stato = '1' WHERE Tipo = ? AND Anno = ? AND NumReg = ?",
        "DELETE FROM LockGest WHERE Tipo = ? AND Anno = ? AND NumReg = ?"};
    for (const char *t : testi) {
        QSqlQuery q(db);
        q.prepare(QLatin1String(t));
        q.bindValue(0, QStringLiteral("F"));
        q.bindValue(1, 2024);
        q.bindValue(2, numero);
        if (!q.exec()) qFatal("%s", qPrintable(q.lastError().text()));
        while (q.next()) {}
    }
}

void bloccoLibreria(ConnessioneDb &c, const QString &n, GestRecordset &g, int numero)
{
    using UtilGenerali::SqlValore;
    const QString dove = QStringLiteral(" Where Tipo = 'F' AND Anno = 2024 AND NumReg = ") + SqlValore(Variant(numero), 3);
    const QString a = g.Apri(c, n, QStringLiteral("L"), QStringLiteral("Select * from LockGest") + dove, false, dbOpenDynaset);
    Recordset &r = g.Recordset(a);
    r.AddNew();
    r.ScriviCampo(u"Tipo", Variant("F"));
    r.ScriviCampo(u"Anno", Variant(int16_t(2024)));
    r.ScriviCampo(u"NumReg", Variant(numero));
    r.ScriviCampo(u"Utente", Variant("utente"));
    r.ScriviCampo(u"Stato", Variant("0"));
    r.ScriviCampo(u"Ora", Variant(Date::now()));
    r.ScriviCampo(u"Gestione", Variant("3"));
    r.ScriviCampo(u"Varie", Variant(""));
    r.ScriviCampo(u"PadreTipo", Variant("O"));
    r.ScriviCampo(u"PadreAnno", Variant(int16_t(2024)));
    r.ScriviCampo(u"PadreNumReg", Variant(1));
    r.Update();
    r.VaiUltimoModificato();
    r.Edit();
    r.ScriviCampo(u"Stato", Variant("1"));
    r.Update();
    c.Esegui(n, QStringLiteral("Delete from LockGest") + dove);
    g.Chiudi(a);
}

void Blocco(benchmark::State &st)
{
    const Banco *b = banco(st.range(0));
    if (!b) return st.SkipWithError("motore non disponibile");
    ConnessioneDb c;
    const QString n = c.Connetti(b->connetti);
    GestRecordset g;
    Coppia coppia(st);
    int numero = 0;
    for (auto _ : st) {
        ++numero;
        coppia.grezza(cronometra([&] { bloccoGrezzo(b->grezza(), numero); }));
        coppia.libreria(cronometra([&] { bloccoLibreria(c, n, g, numero); }));
    }
}

// Raw only: 0 rollback journal with synchronous FULL (SQLite's defaults), 1 write-ahead log
// with FULL (the company file's settings), 2 write-ahead log with NORMAL.
void BloccoImpostazioni(benchmark::State &st)
{
    static const char *const modi[][2] = {{"DELETE", "FULL"}, {"WAL", "FULL"}, {"WAL", "NORMAL"}};
    const auto &m = modi[st.range(0)];
    QTemporaryDir dir;
    const QString nome = QStringLiteral("impostazioni_%1").arg(st.range(0));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        db.setDatabaseName(dir.filePath(QStringLiteral("ditta.db")));
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA journal_mode = %1").arg(QLatin1String(m[0])));
        q.exec(QStringLiteral("PRAGMA synchronous = %1").arg(QLatin1String(m[1])));
        q.exec(QStringLiteral("CREATE TABLE LockGest (Tipo VARCHAR(1), Anno SMALLINT, NumReg INTEGER, Utente VARCHAR(30), "
                              "Stato VARCHAR(1), Gestione VARCHAR(1), PadreTipo VARCHAR(1), PadreAnno SMALLINT, PadreNumReg INTEGER, "
                              "Ora DATETIME, Varie VARCHAR(50), PRIMARY KEY (Tipo, Anno, NumReg))"));
        int numero = 0;
        for (auto _ : st) bloccoGrezzo(db, ++numero);
        st.SetLabel(QStringLiteral("%1 %2").arg(QLatin1String(m[0]), QLatin1String(m[1])).toStdString());
        db.close();
    }
    QSqlDatabase::removeDatabase(nome);
}

} // namespace

BENCHMARK(Blocco)->Arg(0)->Arg(1)->UseManualTime()->Repetitions(7)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BloccoImpostazioni)->DenseRange(0, 2)->Repetitions(7)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
