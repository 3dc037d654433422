// The database library against raw prepared QSqlQuery doing the same work: walking a
// 10,000-row join reading 20 fields; writing 10,000 rows with one transaction per row and all
// in one; translating the order selection. On SQLite always, on PostgreSQL when EVASORD_PG_*
// name a server. The ratio of each pair is what matters (targets: reads 1.5x, writes 2x).
#include "connessione.h"
#include "connessionedb.h"
#include "gestrecordset.h"
#include "traduttoresql.h"
#include "utilgenerali.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <benchmark/benchmark.h>
#include <memory>
#include <optional>

namespace {

constexpr int kRighe = 10000;

struct Banco {
    MotoreDb motore;
    QString connetti;      // argument of ConnessioneDb::Connetti
    QString qtDriver, qtNome; // the raw connection
};

std::unique_ptr<QTemporaryDir> gDir;
std::optional<Banco> gSqlite, gPostgres;

QString odbc(const QString &database)
{
    return QStringLiteral("DRIVER={%1};SERVER=%2;PORT=%3;DATABASE=%4;UID=%5;PWD={%6}")
        .arg(qEnvironmentVariable("EVASORD_PG_DRIVER", QStringLiteral("PostgreSQL Unicode")),
             qEnvironmentVariable("EVASORD_PG_HOST"), qEnvironmentVariable("EVASORD_PG_PORT", QStringLiteral("5432")), database,
             qEnvironmentVariable("EVASORD_PG_USER"), qEnvironmentVariable("EVASORD_PG_PASSWORD"));
}

void esegui(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql)) qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
}

// Headers (1,000) and lines (10,000) joined one to one per line: 20 fields read per row.
void preparaDati(QSqlDatabase &db, MotoreDb m)
{
    const bool sq = m == MotoreDb::SQLite;
    const QString t = sq ? QStringLiteral("VARCHAR(40) COLLATE NOCASE") : QStringLiteral("citext");
    const QString cur = sq ? QStringLiteral("CURRENCY") : QStringLiteral("numeric(19,4)");
    const QString dbl = sq ? QStringLiteral("DOUBLE") : QStringLiteral("double precision");
    if (sq) {
        esegui(db, QStringLiteral("PRAGMA journal_mode=WAL"));
    }
    esegui(db, QStringLiteral("CREATE TABLE Testate (Anno SMALLINT, NumRif INTEGER, Cliente %1, Descrizione %1, Moneta %1, "
                              "DataRif DATE, Cambio %2, Totale %3, Stato %1, PRIMARY KEY (Anno, NumRif))")
                   .arg(t, dbl, cur));
    esegui(db, QStringLiteral("CREATE TABLE Righe (Anno SMALLINT, NumRif INTEGER, RigLiv INTEGER, Articolo %1, Descrizione %1, "
                              "UM %1, Qta %2, QtaEvasa %2, Prezzo %3, Importo %3, DataCons DATE, Iva %1, FlagStato %1, "
                              "PRIMARY KEY (Anno, NumRif, RigLiv))")
                   .arg(t, dbl, cur));
    esegui(db, QStringLiteral("CREATE TABLE Scritte (Anno SMALLINT, NumReg INTEGER, Articolo %1, Descrizione %1, Qta %2, "
                              "Prezzo %3, Importo %3, DataReg DATE, Stato %1, Note %1, PRIMARY KEY (Anno, NumReg))")
                   .arg(t, dbl, cur));
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO Testate VALUES (2024, ?, ?, ?, 'EUR', ?, 1.0, ?, 'A')"));
    for (int i = 1; i <= kRighe / 10; ++i) {
        q.bindValue(0, i);
        q.bindValue(1, QStringLiteral("C%1").arg(i % 97));
        q.bindValue(2, QStringLiteral("Ordine numero %1").arg(i));
        q.bindValue(3, sq ? QVariant(QStringLiteral("2024-03-%1").arg(1 + i % 28, 2, 10, QLatin1Char('0')))
                          : QVariant(QDate(2024, 3, 1 + i % 28)));
        q.bindValue(4, sq ? QVariant(1000.25 + i) : QVariant(QString::number(1000.25 + i)));
        if (!q.exec()) qFatal("%s", qPrintable(q.lastError().text()));
    }
    q.prepare(QStringLiteral("INSERT INTO Righe VALUES (2024, ?, ?, ?, ?, 'PZ', ?, 0, ?, ?, ?, '22', '0')"));
    for (int i = 0; i < kRighe; ++i) {
        q.bindValue(0, 1 + i / 10);
        q.bindValue(1, 1 + i % 10);
        q.bindValue(2, QStringLiteral("ART%1").arg(i % 500, 5, 10, QLatin1Char('0')));
        q.bindValue(3, QStringLiteral("Articolo di prova %1").arg(i));
        q.bindValue(4, 1.0 + i % 7);
        q.bindValue(5, sq ? QVariant(12.5) : QVariant(QStringLiteral("12.5")));
        q.bindValue(6, sq ? QVariant(12.5 * (1 + i % 7)) : QVariant(QString::number(12.5 * (1 + i % 7))));
        q.bindValue(7, sq ? QVariant(QStringLiteral("2024-04-10")) : QVariant(QDate(2024, 4, 10)));
        if (!q.exec()) qFatal("%s", qPrintable(q.lastError().text()));
    }
    db.commit();
}

QSqlDatabase grezza(const Banco &b)
{
    QSqlDatabase db = QSqlDatabase::database(b.qtNome, false);
    if (!db.isValid()) {
        db = QSqlDatabase::addDatabase(b.qtDriver, b.qtNome);
        db.setDatabaseName(b.motore == MotoreDb::SQLite ? b.connetti : b.connetti.mid(5));
        db.setNumericalPrecisionPolicy(QSql::HighPrecision);
        if (!db.open()) qFatal("%s", qPrintable(db.lastError().text()));
    }
    return db;
}

const Banco *banco(int64_t motore)
{
    const std::optional<Banco> &b = motore == 0 ? gSqlite : gPostgres;
    return b ? &*b : nullptr;
}

const char *kJoin = "SELECT Righe.*, Testate.Cliente, Testate.Descrizione, Testate.Moneta, Testate.DataRif, Testate.Cambio, "
                    "Testate.Totale, Testate.Stato FROM Righe INNER JOIN Testate ON Righe.Anno = Testate.Anno AND "
                    "Righe.NumRif = Testate.NumRif WHERE Righe.Anno = 2024";

QDate dataIso(const QVariant &v)
{
    return v.typeId() == QMetaType::QDate ? v.toDate() : QDate::fromString(v.toString(), Qt::ISODate);
}

// ---------------------------------------------------------------------------- reads

void LetturaJoinGrezza(benchmark::State &st)
{
    const Banco *b = banco(st.range(0));
    if (!b) return st.SkipWithError("motore non disponibile");
    QSqlDatabase db = grezza(*b);
    double somma = 0;
    for (auto _ : st) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        q.setNumericalPrecisionPolicy(QSql::HighPrecision);
        q.prepare(QString::fromLatin1(kJoin));
        q.exec();
        while (q.next()) {
            somma += q.value(0).toInt() + q.value(1).toInt() + q.value(2).toInt();
            benchmark::DoNotOptimize(q.value(3).toString());
            benchmark::DoNotOptimize(q.value(4).toString());
            benchmark::DoNotOptimize(q.value(5).toString());
            somma += q.value(6).toDouble() + q.value(7).toDouble() + q.value(8).toDouble() + q.value(9).toDouble();
            benchmark::DoNotOptimize(dataIso(q.value(10)));
            benchmark::DoNotOptimize(q.value(11).toString());
            benchmark::DoNotOptimize(q.value(12).toString());
            benchmark::DoNotOptimize(q.value(13).toString());
            benchmark::DoNotOptimize(q.value(14).toString());
            benchmark::DoNotOptimize(q.value(15).toString());
            benchmark::DoNotOptimize(dataIso(q.value(16)));
            somma += q.value(17).toDouble() + q.value(18).toDouble();
            benchmark::DoNotOptimize(q.value(19).toString());
        }
    }
    benchmark::DoNotOptimize(somma);
    st.SetItemsProcessed(st.iterations() * kRighe);
}

void LetturaJoinLibreria(benchmark::State &st)
{
    const Banco *b = banco(st.range(0));
    if (!b) return st.SkipWithError("motore non disponibile");
    ConnessioneDb c;
    const QString n = c.Connetti(b->connetti);
    GestRecordset g;
    double somma = 0;
    static const char16_t *campi[] = {u"Righe.Anno", u"Righe.NumRif", u"RigLiv", u"Articolo", u"Righe.Descrizione", u"UM",
                                      u"Qta", u"QtaEvasa", u"Prezzo", u"Importo", u"DataCons", u"Iva", u"FlagStato",
                                      u"Cliente", u"Testate.Descrizione", u"Moneta", u"DataRif", u"Cambio", u"Totale",
                                      u"Stato"};
    for (auto _ : st) {
        const QString a = g.Apri(c, n, QStringLiteral("J"), QString::fromLatin1(kJoin), false, dbOpenSnapshot);
        Recordset &r = g.Recordset(a);
        while (!r.Eof()) {
            for (const char16_t *f : campi) {
                const Variant v = r.LeggiCampo(QStringView(f));
                if (v.isNumber()) somma += v.toDouble();
                benchmark::DoNotOptimize(v);
            }
            r.MoveNext();
        }
        g.Chiudi(a);
    }
    benchmark::DoNotOptimize(somma);
    st.SetItemsProcessed(st.iterations() * kRighe);
}

// ---------------------------------------------------------------------------- writes

void svuota(const Banco &b)
{
    QSqlDatabase db = grezza(b);
    esegui(db, QStringLiteral("DELETE FROM Scritte"));
}

void ScritturaGrezza(benchmark::State &st)
{
    const Banco *b = banco(st.range(0));
    if (!b) return st.SkipWithError("motore non disponibile");
    const bool perRiga = st.range(1) != 0;
    const bool sq = b->motore == MotoreDb::SQLite;
    QSqlDatabase db = grezza(*b);
    for (auto _ : st) {
        st.PauseTiming();
        svuota(*b);
        st.ResumeTiming();
        QSqlQuery q(db);
        q.prepare(QStringLiteral("INSERT INTO Scritte (Anno, NumReg, Articolo, Descrizione, Qta, Prezzo, Importo, DataReg, "
                                 "Stato, Note) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        QSqlQuery t(db);
        const auto inizia = [&] { sq ? (void)t.exec(QStringLiteral("BEGIN IMMEDIATE")) : (void)db.transaction(); };
        const auto conferma = [&] { sq ? (void)t.exec(QStringLiteral("COMMIT")) : (void)db.commit(); };
        if (!perRiga) inizia();
        for (int i = 0; i < kRighe; ++i) {
            if (perRiga) inizia();
            q.bindValue(0, 2024);
            q.bindValue(1, i + 1);
            q.bindValue(2, QStringLiteral("ART%1").arg(i % 500));
            q.bindValue(3, QStringLiteral("Riga scritta %1").arg(i));
            q.bindValue(4, 1.0 + i % 7);
            q.bindValue(5, sq ? QVariant(12.5) : QVariant(QStringLiteral("12.5")));
            q.bindValue(6, sq ? QVariant(12.5 * (1 + i % 7)) : QVariant(QString::number(12.5 * (1 + i % 7))));
            q.bindValue(7, sq ? QVariant(QStringLiteral("2024-05-01")) : QVariant(QDate(2024, 5, 1)));
            q.bindValue(8, QStringLiteral("A"));
            q.bindValue(9, QVariant(QMetaType(QMetaType::QString)));
            if (!q.exec()) qFatal("%s", qPrintable(q.lastError().text()));
            if (perRiga) conferma();
        }
        if (!perRiga) conferma();
    }
    st.SetItemsProcessed(st.iterations() * kRighe);
}

void ScritturaLibreria(benchmark::State &st)
{
    const Banco *b = banco(st.range(0));
    if (!b) return st.SkipWithError("motore non disponibile");
    const bool perRiga = st.range(1) != 0;
    ConnessioneDb c;
    const QString n = c.Connetti(b->connetti);
    GestRecordset g;
    const Variant anno(static_cast<int16_t>(2024)), data(Date::fromYmd(2024, 5, 1)), stato("A");
    for (auto _ : st) {
        st.PauseTiming();
        svuota(*b);
        st.ResumeTiming();
        const QString a = g.Apri(c, n, QStringLiteral("S"), QStringLiteral("Select * from Scritte where 1=2"), false, dbOpenDynaset);
        Recordset &r = g.Recordset(a);
        if (!perRiga) c.BeginTrans(n);
        for (int i = 0; i < kRighe; ++i) {
            if (perRiga) c.BeginTrans(n);
            r.AddNew();
            r.ScriviCampo(u"Anno", anno);
            r.ScriviCampo(u"NumReg", Variant(i + 1));
            r.ScriviCampo(u"Articolo", Variant(QStringLiteral("ART%1").arg(i % 500)));
            r.ScriviCampo(u"Descrizione", Variant(QStringLiteral("Riga scritta %1").arg(i)));
            r.ScriviCampo(u"Qta", Variant(1.0 + i % 7));
            r.ScriviCampo(u"Prezzo", Variant(Currency::fromUnits(125000)));
            r.ScriviCampo(u"Importo", Variant(Currency::fromUnits(125000LL * (1 + i % 7))));
            r.ScriviCampo(u"DataReg", data);
            r.ScriviCampo(u"Stato", stato);
            r.ScriviCampo(u"Note", Variant::null());
            r.Update();
            if (perRiga) c.CommitTrans(n);
        }
        if (!perRiga) c.CommitTrans(n);
        g.Chiudi(a);
    }
    st.SetItemsProcessed(st.iterations() * kRighe);
}

// ---------------------------------------------------------------------------- translation

// The order selection as the run builds it, with every optional criterion given.
QString selezioneOrdini()
{
    using UtilGenerali::SqlValore;
    const auto T = [](const char *s) { return SqlValore(Variant(s), 8, MotoreDb::SQLite); };
    const auto D = [](int a, int m, int g) { return SqlValore(Variant(Date::fromYmd(a, m, g)), 7, MotoreDb::SQLite); };
    return QStringLiteral("Select OrdVenTest.*, Monete.*") + ",FattDocumenti.*, NoteFisse1.*,NoteFisse2.*,NoteFisse3.*" +
           ",PianoConti.Bolli, PianoConti.SpeseBan, PianoConti.StRifOrd" + ",PianoConti.Descrizione,PianoConti.PrezzoDDT,Pianoconti.RagDDT" +
           ",PianoConti.StRifCli,PianoConti.RagRB, PianoConti.FECodIPA, PianoConti.IndAmm, PianoConti.DicIntenti" +
           ", Pagamenti.NotaFissa, Pagamenti.FeBanca" + ", FattDocumenti2.DoveStampoDesLung as Doc2DoveDesLung" +
           " FROM (((((((" + " OrdVenTest left join FattDocumenti" + " on OrdVenTest.FattDocumento = FattDocumenti.FattDocumento)" +
           " left join Monete" + " on OrdVenTest.Moneta = Monete.Moneta)" + " left join Pagamenti" +
           " on OrdVenTest.Pagamento = Pagamenti.Pagamento)" + " left join NoteFisse AS NoteFisse1 " +
           " on OrdVenTest.NumNota1 = NoteFisse1.NotaFissa)" + " left join NoteFisse AS NoteFisse2 " +
           " on OrdVenTest.NumNota2 = NoteFisse2.NotaFissa)" + " left join NoteFisse AS NoteFisse3 " +
           " on OrdVenTest.NumNota3 = NoteFisse3.NotaFissa)" + " left join PianoConti" + " on OrdVenTest.GruppoCli = PianoConti.Gruppo" +
           " and OrdVenTest.MastroCli = PianoConti.Mastro" + " and OrdVenTest.ContoCli = PianoConti.Conto" +
           ") left join FattDocumenti as FattDocumenti2" + " on FattDocumenti.FattDocEvasione = FattDocumenti2.FattDocumento" +
           " Where" + " (OrdVenTest.Stato <> " + T("E") + " OR OrdVenTest.Stato Is Null)" + " and OrdVenTest.DataRif <=" +
           D(2024, 6, 30) + " and (OrdVenTest.Interno <>" + T("S") + " OR OrdVenTest.Interno Is Null)" +
           " and (not (OrdVenTest.GruppoCli is null))" + " and OrdVenTest.FattDocumento =" + T("OC") +
           " and OrdVenTest.Moneta =" + T("Euro") + " and OrdVenTest.GruppoCli & OrdVenTest.MastroCli & OrdVenTest.ContoCli >=" +
           T("14010001") + " and OrdVenTest.GruppoCli & OrdVenTest.MastroCli & OrdVenTest.ContoCli <=" + T("14019999") +
           " And EXISTS (Select OrdVenDett.* From OrdVenDett" + " Where OrdVenDett.Anno = OrdVenTest.Anno" +
           " AND OrdVenDett.NumRif = OrdVenTest.NumRif" + " AND (OrdVenDett.StatoRiga <>" + T("E") +
           " OR OrdVenDett.StatoRiga IS NULL)" + " AND OrdVenDett.Articolo >= " + T("ART00001") +
           " AND OrdVenDett.Articolo <= " + T("ART99999") + ")" + " AND ((" + " OrdVenTest.DataCons >=" + D(2024, 1, 1) +
           " and" + " OrdVenTest.DataCons <=" + D(2024, 12, 31) + " ) or" + " Exists (" + " Select OrdVenDett.Anno From  OrdVenDett" +
           " Where OrdVenTest.Anno = OrdVenDett.Anno" + " AND OrdVenTest.NumRif = OrdVenDett.NumRif" +
           " And OrdVenDett.DataCons >=" + D(2024, 1, 1) + " And OrdVenDett.DataCons <=" + D(2024, 12, 31) + "))" +
           " and OrdVenTest.NumRif >=" + "1" + " and OrdVenTest.NumRif <=" + "9999" + " and OrdVenTest.Descrizione Like " +
           T("Ordine*");
}

// The tables of the order selection with the columns it names, filled up to a company
// schema's width (the header alone has some eighty fields).
class CatalogoBanco : public Catalogo {
public:
    CatalogoBanco()
    {
        const auto t = [&](const char *nome, int larghezza, std::initializer_list<const char *> nominate) {
            std::vector<ColonnaCatalogo> c;
            for (const char *n : nominate) c.push_back({QString::fromLatin1(n), TipoCampo::Testo, false});
            for (int i = static_cast<int>(c.size()); i < larghezza; ++i)
                c.push_back({QStringLiteral("Campo%1").arg(i), i % 3 ? TipoCampo::Testo : TipoCampo::Doppio, false});
            m_t.emplace(QString::fromLatin1(nome), std::make_shared<TabellaCatalogo>(QString::fromLatin1(nome), std::move(c), std::vector<int>{0}));
        };
        t("OrdVenTest", 80, {"Anno", "NumRif", "Stato", "DataRif", "Interno", "GruppoCli", "MastroCli", "ContoCli",
                             "FattDocumento", "Moneta", "DataCons", "DataDoc", "NumDoc", "Descrizione", "Pagamento",
                             "NumNota1", "NumNota2", "NumNota3"});
        t("OrdVenDett", 60, {"Anno", "NumRif", "RigLiv", "StatoRiga", "Articolo", "DataCons"});
        t("Monete", 10, {"Moneta", "Descrizione", "Cee", "NumDec", "NumDecGest"});
        t("FattDocumenti", 40, {"FattDocumento", "FattDocEvasione", "DoveStampoDesLung"});
        t("NoteFisse", 5, {"NotaFissa", "Descrizione"});
        t("Pagamenti", 40, {"Pagamento", "NotaFissa", "FeBanca"});
        t("PianoConti", 60, {"Gruppo", "Mastro", "Conto", "Bolli", "SpeseBan", "StRifOrd", "Descrizione", "PrezzoDDT",
                             "RagDDT", "StRifCli", "RagRB", "FECodIPA", "IndAmm", "DicIntenti"});
    }
    std::shared_ptr<const TabellaCatalogo> tabella(QStringView nome) override
    {
        const auto it = m_t.find(nome);
        return it == m_t.end() ? nullptr : it->second;
    }

private:
    std::unordered_map<QString, std::shared_ptr<const TabellaCatalogo>, HashNome, UgualeNome> m_t;
};

void TraduzioneSelezioneOrdini(benchmark::State &st)
{
    const QString sql = selezioneOrdini();
    CatalogoBanco cat;
    for (auto _ : st) benchmark::DoNotOptimize(traduciJet(sql, MotoreDb::PostgreSQL, cat));
}

void TraduzioneSelezioneOrdiniInCache(benchmark::State &st)
{
    const QString sql = selezioneOrdini();
    CatalogoBanco cat;
    TraduttoreSql t(MotoreDb::PostgreSQL, cat);
    for (auto _ : st) benchmark::DoNotOptimize(t.traduci(sql));
}

void prepara()
{
    gDir = std::make_unique<QTemporaryDir>();
    const QString file = gDir->filePath(QStringLiteral("banco.db"));
    gSqlite = Banco{MotoreDb::SQLite, file, QStringLiteral("QSQLITE"), QStringLiteral("grezza_sqlite")};
    {
        QSqlDatabase db = grezza(*gSqlite);
        preparaDati(db, MotoreDb::SQLite);
    }
    if (qEnvironmentVariableIsEmpty("EVASORD_PG_HOST")) return;
    const QString nome = QStringLiteral("bench_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("bench_admin"));
        admin.setDatabaseName(odbc(QStringLiteral("postgres")));
        if (!admin.open()) return;
        esegui(admin, QStringLiteral("CREATE DATABASE ") + nome);
        admin.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench_admin"));
    gPostgres = Banco{MotoreDb::PostgreSQL, QStringLiteral("ODBC;") + odbc(nome), QStringLiteral("QODBC"),
                      QStringLiteral("grezza_pg")};
    QSqlDatabase db = grezza(*gPostgres);
    preparaDati(db, MotoreDb::PostgreSQL);
    qputenv("EVASORD_BENCH_PGDB", nome.toUtf8());
}

void riordina()
{
    if (gPostgres) {
        QSqlDatabase::database(gPostgres->qtNome).close();
        QSqlDatabase::removeDatabase(gPostgres->qtNome);
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("bench_admin"));
        admin.setDatabaseName(odbc(QStringLiteral("postgres")));
        if (admin.open()) esegui(admin, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(qEnvironmentVariable("EVASORD_BENCH_PGDB")));
    }
}

} // namespace

// Engines: 0 SQLite, 1 PostgreSQL. Writes: second argument 1 = one transaction per row.
BENCHMARK(LetturaJoinGrezza)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LetturaJoinLibreria)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ScritturaGrezza)->Args({0, 1})->Args({0, 0})->Args({1, 1})->Args({1, 0})->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(ScritturaLibreria)->Args({0, 1})->Args({0, 0})->Args({1, 1})->Args({1, 0})->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(TraduzioneSelezioneOrdini)->Unit(benchmark::kMicrosecond);
BENCHMARK(TraduzioneSelezioneOrdiniInCache)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    prepara();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    riordina();
    return 0;
}
