// The company fixture: the same company on both engines, coherent master data and
// committed quantities, hand-made orders on top, the menu parameters.
#include "apperror.h"
#include "companyfixture.h"
#include "orders.h"
#include "readback.h"
#include "scratchdb.h"
#include "textcompare.h"

#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace suite;

namespace {

struct OpenDb {
    std::unique_ptr<ScratchDb> scratch;
    QSqlDatabase db;
    ~OpenDb()
    {
        const QString name = db.connectionName();
        db = QSqlDatabase();
        if (!name.isEmpty())
            QSqlDatabase::removeDatabase(name);
    }
};

std::unique_ptr<OpenDb> company(Engine engine, const QString &name, const FixtureOptions &opt = {})
{
    auto o = std::make_unique<OpenDb>();
    o->scratch = ScratchDb::create(engine);
    if (!o->scratch)
        return nullptr;
    o->db = o->scratch->open(name);
    buildCompany(o->db, opt);
    return o;
}

int count(const QSqlDatabase &db, const QString &sql) { return scalar(db, sql).toInt(); }

} // namespace

TEST(CompanyFixture, ReadsBackEqualOnBothEngines)
{
    auto lite = company(Engine::SQLite, QStringLiteral("fx_equal_lite"));
    ASSERT_TRUE(lite);
    auto pg = company(Engine::PostgreSQL, QStringLiteral("fx_equal_pg"));
    if (!pg) return; // skipped (or failed when PostgreSQL is required)
    for (const TableDef &t : Schema::suite().tables()) {
        const TableRows a = readTable(lite->db, t), b = readTable(pg->db, t);
        ASSERT_EQ(a.size(), b.size()) << t.name.toStdString();
        for (size_t i = 0; i < a.size(); ++i)
            ASSERT_TRUE(sameRow(a[i], b[i])) << t.name.toStdString() << " row " << i << "\n  SQLite:     "
                                             << rowText(a[i]).toStdString() << "\n  PostgreSQL: "
                                             << rowText(b[i]).toStdString();
    }
    EXPECT_EQ(count(pg->db, QStringLiteral("SELECT COUNT(*) FROM OrdVenTest")), 100);
}

TEST(CompanyFixture, IsDeterministicFromItsSeed)
{
    auto a = company(Engine::SQLite, QStringLiteral("fx_seed_a"), {.orders = 30});
    auto b = company(Engine::SQLite, QStringLiteral("fx_seed_b"), {.orders = 30});
    auto c = company(Engine::SQLite, QStringLiteral("fx_seed_c"), {.orders = 30, .seed = 2});
    const TableDef &lines = Schema::suite().tableOrThrow(u"OrdVenDett");
    const TableRows ra = readTable(a->db, lines), rb = readTable(b->db, lines), rc = readTable(c->db, lines);
    ASSERT_EQ(ra.size(), rb.size());
    for (size_t i = 0; i < ra.size(); ++i)
        ASSERT_TRUE(sameRow(ra[i], rb[i])) << i;
    bool differs = ra.size() != rc.size();
    for (size_t i = 0; !differs && i < ra.size(); ++i)
        differs = !sameRow(ra[i], rc[i]);
    EXPECT_TRUE(differs);
}

TEST(CompanyFixture, MasterDataAndOrdersHangTogether)
{
    const FixtureOptions opt;
    auto c = company(Engine::SQLite, QStringLiteral("fx_coherent"), opt);
    const QSqlDatabase &db = c->db;

    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM OrdVenTest")), opt.orders);
    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM OrdVenDett WHERE TipoRiga = 'A'")), opt.orders * opt.linesPerOrder);
    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM OrdVenDett WHERE TipoRiga = 'D'")), opt.orders / 7);
    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM PianoConti WHERE Gruppo = '14' AND Conto <> '9999'")), opt.customers);
    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM Articoli")), opt.articles);
    EXPECT_GT(count(db, QStringLiteral("SELECT COUNT(*) FROM OrdVenLiv")), 0);
    EXPECT_GT(count(db, QStringLiteral("SELECT COUNT(*) FROM OrdVenSpese")), 0);
    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM OrdVenTest WHERE Stato = 'P'")), opt.orders / 10);

    // Every code the orders use exists in its master table.
    const char *const dangling[] = {
        "SELECT COUNT(*) FROM OrdVenTest o LEFT JOIN PianoConti p ON p.Gruppo = o.GruppoCli AND p.Mastro = o.MastroCli "
        "AND p.Conto = o.ContoCli WHERE p.Conto IS NULL",
        "SELECT COUNT(*) FROM OrdVenTest o LEFT JOIN Pagamenti p ON p.Pagamento = o.Pagamento WHERE p.Pagamento IS NULL",
        "SELECT COUNT(*) FROM OrdVenTest o LEFT JOIN Monete m ON m.Moneta = o.Moneta WHERE m.Moneta IS NULL",
        "SELECT COUNT(*) FROM OrdVenTest o LEFT JOIN FattDocumenti f ON f.FattDocumento = o.FattDocumento "
        "WHERE f.Tipo IS NULL OR f.Tipo <> 'O'",
        "SELECT COUNT(*) FROM FattDocumenti o LEFT JOIN FattDocumenti f ON f.FattDocumento = o.FattDocEvasione "
        "WHERE o.FattDocEvasione IS NOT NULL AND f.FattDocumento IS NULL",
        "SELECT COUNT(*) FROM OrdVenDett d LEFT JOIN Articoli a ON a.Articolo = d.Articolo "
        "WHERE d.TipoRiga = 'A' AND (a.Articolo IS NULL OR a.Inattivo = 'S')",
        "SELECT COUNT(*) FROM OrdVenDett d LEFT JOIN TabIva i ON i.Iva = d.Iva WHERE d.TipoRiga = 'A' AND i.Iva IS NULL",
        "SELECT COUNT(*) FROM OrdVenSpese s LEFT JOIN Spese m ON m.Spesa = s.Spesa WHERE m.Spesa IS NULL",
        "SELECT COUNT(*) FROM Pagamenti p LEFT JOIN PagTipi t ON t.PagTipo = p.PagTipo WHERE t.PagTipo IS NULL",
        "SELECT COUNT(*) FROM Pagamenti p LEFT JOIN Spese s ON s.Spesa = p.Spesa WHERE p.Spesa IS NOT NULL AND s.Spesa IS NULL",
        "SELECT COUNT(*) FROM TaBolli b LEFT JOIN TabIva i ON i.Iva = b.CodEseBollo WHERE i.Iva IS NULL",
        "SELECT COUNT(*) FROM OrdVenLiv l LEFT JOIN OrdVenDett d ON d.Anno = l.Anno AND d.NumRif = l.NumRif "
        "AND d.RigLiv = l.RigLiv WHERE d.Articolo IS NULL",
        "SELECT COUNT(*) FROM OrdVenDett d JOIN Articoli a ON a.Articolo = d.Articolo "
        "WHERE (a.LivGruppo1 IS NULL) <> (NOT EXISTS (SELECT 1 FROM OrdVenLiv l WHERE l.Anno = d.Anno "
        "AND l.NumRif = d.NumRif AND l.RigLiv = d.RigLiv))",
    };
    for (const char *sql : dangling)
        EXPECT_EQ(count(db, QString::fromLatin1(sql)), 0) << sql;

    // A line with levels carries their totals; states follow the fulfilled quantities.
    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM OrdVenDett d WHERE EXISTS (SELECT 1 FROM OrdVenLiv l "
                                       "WHERE l.Anno = d.Anno AND l.NumRif = d.NumRif AND l.RigLiv = d.RigLiv) AND "
                                       "abs(d.Qta - (SELECT SUM(Qta) FROM OrdVenLiv l WHERE l.Anno = d.Anno AND "
                                       "l.NumRif = d.NumRif AND l.RigLiv = d.RigLiv)) > 1e-9")), 0);
    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM OrdVenDett WHERE TipoRiga = 'A' AND NOT "
                                       "((QtaEvasa = 0 AND StatoRiga IS NULL) OR (QtaEvasa >= Qta AND StatoRiga = 'E') "
                                       "OR (QtaEvasa > 0 AND QtaEvasa < Qta AND StatoRiga = 'P'))")), 0);

    // The committed quantities of the progressives are what the open orders still have to deliver.
    const QString remaining = QStringLiteral(
        "SELECT SUM(r) FROM ("
        " SELECT d.Qta - d.QtaEvasa AS r FROM OrdVenDett d JOIN Articoli a ON a.Articolo = d.Articolo"
        "  WHERE a.ArtMag = 'S' AND NOT EXISTS (SELECT 1 FROM OrdVenLiv l WHERE l.Anno = d.Anno AND l.NumRif = d.NumRif AND l.RigLiv = d.RigLiv)"
        " UNION ALL"
        " SELECT l.Qta - l.QtaEvasa FROM OrdVenLiv l JOIN OrdVenDett d ON d.Anno = l.Anno AND d.NumRif = l.NumRif AND d.RigLiv = l.RigLiv"
        "  JOIN Articoli a ON a.Articolo = d.Articolo WHERE a.ArtMag = 'S') x");
    const double open = scalar(db, remaining).toDouble();
    EXPECT_GT(open, 0);
    EXPECT_NEAR(scalar(db, QStringLiteral("SELECT SUM(QtaImpCli) FROM ArticoliProg")).toDouble(), open, 1e-6);
    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM ArticoliProg p JOIN Articoli a ON a.Articolo = p.Articolo "
                                       "WHERE a.ArtMag <> 'S' AND p.QtaImpCli <> 0")), 0);

    // Foreign-currency lines carry their euro and lire twins.
    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM OrdVenDett d JOIN OrdVenTest t ON t.Anno = d.Anno AND "
                                       "t.NumRif = d.NumRif WHERE d.TipoRiga = 'A' AND t.Moneta = 'Euro' AND "
                                       "(d.ValEuro <> d.ValTotale OR abs(d.ValLire - round(d.ValEuro * 1936.27)) > 0.5)")), 0);

    // The file is left with the journal the program opens it with.
    EXPECT_EQ(scalar(db, QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
}

class FixtureOnEngine : public ::testing::TestWithParam<Engine> {};

TEST_P(FixtureOnEngine, HandMadeOrderGoesOnTopOfTheMasterData)
{
    auto c = company(GetParam(), QStringLiteral("fx_hand_%1").arg(int(GetParam())), {.orders = 3});
    if (!c) return;
    QSqlDatabase &db = c->db;
    const int16_t year = 2024;
    const auto committed = [&](const QString &art, const QString &l1, const QString &l2) {
        return scalar(db, QStringLiteral("SELECT QtaImpCli FROM ArticoliProg WHERE Anno = ? AND Magazzino = '01' AND "
                                         "Articolo = ? AND Livello1 = ? AND Livello2 = ?"),
                      {int(year), art, l1, l2}).toDouble();
    };
    const double before1 = committed(articleCode(1), fx::kNoLevel, fx::kNoLevel);
    const double beforeS = committed(articleCode(5), QStringLiteral("S"), QStringLiteral("ROSSO"));

    OrderInput o;
    o.cliente = 3;
    o.righe = {{.articolo = articleCode(1), .qta = 10, .prezzo = 2.5, .sconto = QStringLiteral("10+5")},
               {.tipoRiga = QStringLiteral("D"), .descrizione = QStringLiteral("Riga di descrizione")},
               {.articolo = articleCode(5), .prezzo = 12, .livelli = {{"S", "ROSSO", 1, 1}, {"m", "BLU", 2, 0}}}};
    o.spese = {{.spesa = QStringLiteral("TRA"), .importo = 15}};
    o.extra = {{"RagOrd", "O"}, {"CIG", "Z1234567"}};
    const int32_t numRif = addOrder(db, o);
    EXPECT_EQ(numRif, 4);

    const TableRows head = readTable(db, Schema::suite().tableOrThrow(u"OrdVenTest"));
    ASSERT_EQ(head.size(), 4u);
    const TableDef &th = Schema::suite().tableOrThrow(u"OrdVenTest");
    const auto at = [](const TableDef &t, const TableRows &rows, size_t row, const char *field) {
        for (size_t i = 0; i < t.fields.size(); ++i)
            if (textEquals(t.fields[i].name, QString::fromLatin1(field))) return rows[row][i];
        return Variant();
    };
    EXPECT_EQ(at(th, head, 3, "ContoCli").text(), QStringLiteral("0003"));
    EXPECT_EQ(at(th, head, 3, "RagOrd").text(), QStringLiteral("O"));
    EXPECT_EQ(at(th, head, 3, "CIG").text(), QStringLiteral("Z1234567"));
    EXPECT_EQ(at(th, head, 3, "Stato").text(), QStringLiteral("P"));
    EXPECT_EQ(at(th, head, 3, "DataRif").toDate(), Date::fromYmd(2024, 3, 1));
    EXPECT_EQ(at(th, head, 3, "Pagamento").text(), customerProfile(3).pagamento);

    const TableDef &td = Schema::suite().tableOrThrow(u"OrdVenDett");
    TableRows lines = readTable(db, td);
    lines.erase(std::remove_if(lines.begin(), lines.end(), [&](const auto &r) { return r[1].toLong() != numRif; }), lines.end());
    ASSERT_EQ(lines.size(), 3u);
    // 10 x 2.50 less 10 % and 5 %: 21.375, to two decimals 21.38.
    EXPECT_DOUBLE_EQ(at(td, lines, 0, "ValTotale").toDouble(), 21.38);
    EXPECT_DOUBLE_EQ(at(td, lines, 0, "ValLire").toDouble(), 41397); // 21.38 x 1936.27 = 41397.4526
    EXPECT_EQ(at(td, lines, 0, "Iva").text(), articleProfile(1).iva);
    EXPECT_TRUE(at(td, lines, 0, "StatoRiga").isNull());
    EXPECT_EQ(at(td, lines, 1, "TipoRiga").text(), QStringLiteral("D"));
    EXPECT_TRUE(at(td, lines, 1, "Qta").isNull());
    EXPECT_EQ(at(td, lines, 1, "NotaSopra").text(), QStringLiteral("Riga di descrizione"));
    EXPECT_DOUBLE_EQ(at(td, lines, 2, "Qta").toDouble(), 3);
    EXPECT_DOUBLE_EQ(at(td, lines, 2, "QtaEvasa").toDouble(), 1);
    EXPECT_DOUBLE_EQ(at(td, lines, 2, "ValTotale").toDouble(), 36);
    EXPECT_EQ(at(td, lines, 2, "StatoRiga").text(), QStringLiteral("P"));
    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM OrdVenLiv WHERE NumRif = 4 AND RigLiv = 3 AND StatoRiga = 'E'")), 1);
    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM OrdVenSpese WHERE NumRif = 4 AND Spesa = 'TRA' AND Riga = 1")), 1);

    // Committed: 10 more of article 1; nothing more for the level delivered in full; 2 of "M"/"BLU"
    // (written "m", found as "M").
    EXPECT_DOUBLE_EQ(committed(articleCode(1), fx::kNoLevel, fx::kNoLevel), before1 + 10);
    EXPECT_DOUBLE_EQ(committed(articleCode(5), QStringLiteral("S"), QStringLiteral("ROSSO")), beforeS);
    EXPECT_GE(committed(articleCode(5), QStringLiteral("M"), QStringLiteral("BLU")), 2);

    // An explicit number that is taken already is refused by the key.
    OrderInput dup;
    dup.numRif = 4;
    EXPECT_THROW(addOrder(db, dup), AppError);
}

INSTANTIATE_TEST_SUITE_P(Engines, FixtureOnEngine, kBothEngines, engineParamName);

TEST(CompanyFixture, MenuParametersMatchTheMasterData)
{
    const FixtureOptions opt;
    auto c = company(Engine::SQLite, QStringLiteral("fx_params"), opt);
    const QSqlDatabase &db = c->db;
    const QMap<QString, QString> p = menuParameters(opt);
    const auto exists = [&](const QString &sql, const QVariantList &values) { return scalar(db, sql, values).toInt() == 1; };

    EXPECT_TRUE(exists(QStringLiteral("SELECT COUNT(*) FROM Monete WHERE Moneta = ?"), {p["Ditta.Moneta"]}));
    EXPECT_TRUE(exists(QStringLiteral("SELECT COUNT(*) FROM Monete WHERE Moneta = ? AND NumDec = 0"), {p["Ditta.CodLira"]}));
    EXPECT_TRUE(exists(QStringLiteral("SELECT COUNT(*) FROM Monete WHERE Moneta = ?"), {p["Ditta.CodEuro"]}));
    EXPECT_EQ(p["Ditta.CambioLiraEuro"], QStringLiteral("1936,27"));
    EXPECT_TRUE(exists(QStringLiteral("SELECT COUNT(*) FROM FattDocumenti WHERE FattDocumento = ? AND Tipo = 'O'"), {p["Fat.DocOrd"]}));
    EXPECT_TRUE(exists(QStringLiteral("SELECT COUNT(*) FROM FattDocumenti WHERE PrefBolle = ? AND Tipo = 'B'"), {p["Fat.PrefDdt"]}));
    EXPECT_TRUE(p["Fat.ElePrefDdt"].contains(p["Fat.PrefDdt"]));
    EXPECT_TRUE(exists(QStringLiteral("SELECT COUNT(*) FROM LibriIva WHERE Anno = ? AND TipoReg = 'V' AND Pref = ?"),
                       {p["Mag.AnnoCorr"].toInt(), p["Ditta.RegIvaVen"]}));
    EXPECT_TRUE(p["Ditta.EleRegIvaVen"].contains(p["Ditta.RegIvaVen"]));
    EXPECT_TRUE(exists(QStringLiteral("SELECT COUNT(*) FROM PianoConti WHERE Gruppo = ? AND Mastro = ? AND Conto = ?"),
                       {p["CauCon.GruppoVen"], p["CauCon.MastroVen"], p["CauCon.ContoVen"]}));
    EXPECT_TRUE(exists(QStringLiteral("SELECT COUNT(*) FROM PianoConti WHERE Gruppo = ? AND Mastro = ? AND Conto = ?"),
                       {p["CauCon.GruppoCliCorr"], p["CauCon.MastroCliCorr"], p["CauCon.ContoCliCorr"]}));
    EXPECT_EQ(p["Mag.GesTaglie"], QStringLiteral("S"));
    EXPECT_EQ(p["Mag.AnnoCorr"], QString::number(opt.year));
    EXPECT_EQ(p["Mag.DataInizio"], QStringLiteral("01/01/2024"));
}

TEST(CompanyFixture, RefusesOptionsThatCannotMakeACompany)
{
    auto s = ScratchDb::create(Engine::SQLite);
    OpenDb o;
    o.db = s->open(QStringLiteral("fx_bad"));
    EXPECT_THROW(buildCompany(o.db, {.customers = 2}), AppError);
}
