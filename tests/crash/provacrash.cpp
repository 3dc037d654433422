#include "provacrash.h"

#include "companyfixture.h"
#include "contestodiprova.h"
#include "invarianti.h"

#include <QProcess>
#include <csignal>

const QString ProvaCrash::kData = QStringLiteral("31/12/2024");
const QString ProvaCrash::kDataAnnoDopo = QStringLiteral("15/01/2025");

void ProvaCrash::SetUpTestSuite() { ensureCoreApp(); }

std::unique_ptr<ScratchDb> ProvaCrash::nuovaDitta(const std::function<void(QSqlDatabase &)> &prepara)
{
    auto db = ScratchDb::create(GetParam());
    if (!db)
        return nullptr;
    {
        QSqlDatabase q = db->open(QStringLiteral("crea"));
        suite::buildCompany(q, suite::FixtureOptions{.orders = 10, .customers = 4, .articles = 10});
        righeQuery(q, QStringLiteral("UPDATE FattDocumenti SET MagCausaleRientro = 'VEN' WHERE FattDocumento = 'OC'"));
        if (prepara)
            prepara(q);
        q.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("crea"));
    return db;
}

QStringList ProvaCrash::argomenti(const ScratchDb &db, const QString &tipoEvasione, QStringList altri,
                                  const QString &data)
{
    return QStringList{QStringLiteral("--db"), nomeDbAzienda(db), QStringLiteral("--data-lavoro"), data,
                       QStringLiteral("--data"), data, QStringLiteral("--tipo-evasione"), tipoEvasione,
                       QStringLiteral("--cambio"), QStringLiteral("USD=1.1")}
           + altri;
}

Esito ProvaCrash::esegui(const QStringList &args, std::optional<int> uccidiDopoMs)
{
    QProcess p;
    p.setProgram(QStringLiteral(EVASORD_RUN));
    p.setArguments(args);
    p.start();
    if (!p.waitForStarted(10000))
        return {};
    if (uccidiDopoMs) {
        if (!p.waitForFinished(*uccidiDopoMs)) {
            ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
            p.waitForFinished(10000);
            return {-1, QString::fromUtf8(p.readAllStandardError())};
        }
    } else {
        p.waitForFinished(120000);
    }
    const int codice = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return {codice, QString::fromUtf8(p.readAllStandardError())};
}

int ProvaCrash::righe(const QSqlDatabase &db, const QString &sql)
{
    return static_cast<int>(righeQuery(db, sql).size());
}

QStringList ProvaCrash::testi(const QSqlDatabase &db, const QString &sql)
{
    QStringList out;
    for (const QVariantList &r : righeQuery(db, sql)) {
        QStringList valori;
        for (const QVariant &v : r)
            valori << v.toString();
        out << valori.join(QLatin1Char(' '));
    }
    return out;
}

int ProvaCrash::ordiniAperti(const QSqlDatabase &q)
{
    return righe(q, QStringLiteral("SELECT Anno FROM OrdVenTest WHERE FattDocumento = 'OC'"
                                   " AND (Stato IS NULL OR Stato <> 'E')"));
}

QString ProvaCrash::ordineDiMagazzino(const QSqlDatabase &q, size_t n)
{
    const auto ordini = righeQuery(
        q, QStringLiteral("SELECT d.NumRif FROM OrdVenDett d JOIN Articoli a ON a.Articolo = d.Articolo"
                          " JOIN OrdVenTest t ON t.Anno = d.Anno AND t.NumRif = d.NumRif"
                          " WHERE t.FattDocumento = 'OC' AND (t.Stato IS NULL OR t.Stato <> 'E')"
                          " AND d.TipoRiga = 'A' AND a.ArtMag = 'S' AND d.Qta > d.QtaEvasa"
                          " GROUP BY d.NumRif HAVING COUNT(*) >= 2 ORDER BY d.NumRif"));
    return ordini.size() > n ? ordini[n].front().toString() : QString();
}

void ProvaCrash::chiudi(QSqlDatabase &q)
{
    q.close();
    q = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("controllo"));
}

void ProvaCrash::guasto(const QSqlDatabase &q, const QString &tabella, const QString &numRif, int scritte) const
{
    guastoSe(q, tabella,
             QStringLiteral("NEW.TipoProv = 'O' AND NEW.NumRifProv = %1 AND (SELECT COUNT(*) FROM %2"
                            " WHERE TipoProv = 'O' AND NumRifProv = %1) >= %3")
                 .arg(numRif, tabella)
                 .arg(scritte));
}

void ProvaCrash::guastoSe(const QSqlDatabase &q, const QString &tabella, const QString &condizione) const
{
    const QStringList sql =
        GetParam() == Engine::SQLite
            ? QStringList{QStringLiteral("CREATE TRIGGER guasto BEFORE INSERT ON %1 WHEN %2"
                                         " BEGIN SELECT RAISE(ABORT, 'guasto di prova'); END")
                              .arg(tabella, condizione)}
            : QStringList{QStringLiteral("CREATE FUNCTION guasto() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF %1"
                                         " THEN RAISE EXCEPTION 'guasto di prova'; END IF; RETURN NEW; END $$")
                              .arg(condizione),
                          QStringLiteral("CREATE TRIGGER guasto BEFORE INSERT ON %1 FOR EACH ROW EXECUTE FUNCTION guasto()")
                              .arg(tabella)};
    for (const QString &istruzione : sql)
        righeQuery(q, istruzione);
}

void ProvaCrash::togliGuasto(const QSqlDatabase &q, const QString &tabella) const
{
    righeQuery(q, GetParam() == Engine::SQLite ? QStringLiteral("DROP TRIGGER guasto")
                                               : QStringLiteral("DROP TRIGGER guasto ON ") + tabella);
    if (GetParam() == Engine::PostgreSQL)
        righeQuery(q, QStringLiteral("DROP FUNCTION guasto()"));
}

void ProvaCrash::integrita(const QSqlDatabase &db, Engine engine)
{
    if (engine != Engine::SQLite)
        return;
    const auto r = righeQuery(db, QStringLiteral("PRAGMA integrity_check"));
    ASSERT_FALSE(r.empty());
    EXPECT_EQ(r.front().front().toString(), QStringLiteral("ok"));
}
