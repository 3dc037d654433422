// Stock data: the level condition, the level marker, the summed progressives on the company
// fixture, and the re-chaining of price-list end dates, on both engines.
#include "companyfixture.h"
#include "connessionedb.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "datimagazzino.h"
#include "gestrecordset.h"
#include "scratchdb.h"

#include <gtest/gtest.h>

namespace {

struct CasoLivelli {
    const char *gesTaglie;
    int16_t numLivelli;
    std::optional<Variant> livello1, livello2;
    bool senza, forza;
    const char *atteso;
};

TEST(SqlCondLivelli, WhenEachLevelIsCompared)
{
    const auto v = [](const char *t) { return std::optional<Variant>(Variant(t)); };
    const std::optional<Variant> no;
    const CasoLivelli casi[] = {
        {"N", 2, v("S"), v("ROSSO"), false, true, " And Livello1 = '~ç~' And Livello2 = '~ç~'"},
        {"", 2, v("S"), v("ROSSO"), false, false, " And Livello1 = '~ç~' And Livello2 = '~ç~'"},
        {"S", 1, v("S"), v("ROSSO"), false, false, " And Livello1 = 'S' And Livello2 = '~ç~'"},
        {"s", 1, v("S"), v("ROSSO"), false, true, " And Livello1 = 'S' And Livello2 = 'ROSSO'"},
        {"S", 2, v("S"), v("ROSSO"), false, false, " And Livello1 = 'S' And Livello2 = 'ROSSO'"},
        {"S", 0, v("S"), v("ROSSO"), false, false, " And Livello1 = '~ç~' And Livello2 = '~ç~'"},
        {"S", 2, v("S"), v("ROSSO"), true, true, " And Livello1 = '~ç~' And Livello2 = '~ç~'"},
        {"S", 2, v(""), v("O'NERO"), false, false, " And Livello1 = '' And Livello2 = 'O''NERO'"},
        {"S", 2, no, v("ROSSO"), false, false, " And Livello1 = '~ç~' And Livello2 = 'ROSSO'"},
        {"S", 2, v("S"), no, false, false, " And Livello1 = 'S' And Livello2 = '~ç~'"},
    };
    for (const auto &c : casi) {
        ContestoDiProva contesto;
        contesto.parametro("Mag.GesTaglie", Variant(c.gesTaglie));
        const Variant r = SqlCondLivelli(c.numLivelli, c.livello1, c.livello2, c.senza, c.forza);
        EXPECT_EQ(r.text(), QString::fromUtf8(c.atteso)) << c.gesTaglie << " " << c.numLivelli;
        EXPECT_EQ(contesto.chiaviLette(), (QStringList{"Mag.GesTaglie", "Mag.GesTaglie"}));
    }
}

TEST(NormLivello, LeadingBlanksOffInPlace)
{
    QString codice = "  S ";
    EXPECT_EQ(NormLivello(codice), "S ");
    EXPECT_EQ(codice, "S ");
    codice = "   ";
    EXPECT_EQ(NormLivello(codice), LivelloVuoto);
    EXPECT_EQ(codice, "");
    codice.clear();
    EXPECT_EQ(NormLivello(codice), QString::fromUtf8("~ç~"));
}

class DatiMagazzino : public ::testing::TestWithParam<Engine> {
protected:
    ContestoDiProva &contesto() { return m_contesto; }
    static void esegui(const QString &sql) { ggDbAzienda->Esegui(gsNomeConn, sql); }

private:
    ContestoDiProva m_contesto;
};

// The progressives summed by the test itself, row by row.
struct Somme {
    double giacenza = 0, disponibile = 0;
};
Somme sommeDiProva(const QString &filtro)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                              QStringLiteral("Select * from ArticoliProg Where ") + filtro);
    Somme s;
    for (; !rs.Eof(a); rs.MoveNext(a)) {
        const auto q = [&](const char16_t *campo) { return rs.LeggiCampo(a, campo).toDouble(); };
        const double g = q(u"QtaIniziale") + q(u"QtaCarico") - q(u"QtaScarico");
        s.giacenza += g;
        s.disponibile += g + q(u"QtaOrdFor") - q(u"QtaImpCli");
    }
    return s;
}

TEST_P(DatiMagazzino, ProgressivesOfTheFixtureWithAndWithoutLevels)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaDitta(*db, suite::FixtureOptions{.orders = 12, .linesPerOrder = 3, .customers = 4, .articles = 10});
    giNumDecQta = 2;
    ASSERT_TRUE(suite::articleProfile(5).livelli);
    ASSERT_FALSE(suite::articleProfile(1).livelli);
    const QString conLivelli = suite::articleCode(5);
    const QString senzaLivelli = suite::articleCode(1);
    const Variant nullo = Variant::null();

    // Every level of the level article, then one pair.
    Variant disp, giac, ord;
    const Somme tutte = sommeDiProva("Articolo = 'ART00005' And Anno = 2024");
    ASSERT_GT(tutte.giacenza, 0);
    EXPECT_DOUBLE_EQ(LeggiProgArticolo(conLivelli, 2024, std::nullopt, nullo, nullo, &disp, &giac, &ord).toDouble(),
                     tutte.disponibile);
    EXPECT_DOUBLE_EQ(giac.toDouble(), tutte.giacenza);
    EXPECT_DOUBLE_EQ(ord.toDouble(), 0);
    const auto [l1, l2] = suite::articleLevels().at(1);
    const Somme coppia = sommeDiProva(QStringLiteral("Articolo = 'ART00005' And Livello1 = '%1' And Livello2 = '%2'")
                                          .arg(l1, l2));
    EXPECT_DOUBLE_EQ(LeggiProgArticolo(conLivelli, 2024, Variant(suite::fx::kWarehouse), Variant(l1), Variant(l2))
                         .toDouble(),
                     coppia.giacenza);
    EXPECT_LT(coppia.giacenza, tutte.giacenza);
    // Only level 1 given: every level 2 of it.
    const Somme taglia = sommeDiProva(QStringLiteral("Articolo = 'ART00005' And Livello1 = '%1'").arg(l1));
    EXPECT_DOUBLE_EQ(LeggiProgArticolo(conLivelli, 2024, std::nullopt, Variant(l1), nullo, nullptr, nullptr, nullptr,
                                       QStringLiteral("d"))
                         .toDouble(),
                     taglia.disponibile);

    // The article without levels is stored under the marker.
    const Somme senza = sommeDiProva("Articolo = 'ART00001'");
    EXPECT_DOUBLE_EQ(
        LeggiProgArticolo(senzaLivelli, 2024, Variant(""), Variant(LivelloVuoto), Variant(LivelloVuoto), &disp)
            .toDouble(),
        senza.disponibile);
    EXPECT_DOUBLE_EQ(LeggiProgArticolo(senzaLivelli, 2024, std::nullopt, nullo, nullo, &disp, nullptr, nullptr,
                                       QStringLiteral("G"))
                         .toDouble(),
                     senza.giacenza);
    EXPECT_DOUBLE_EQ(LeggiProgArticolo(senzaLivelli, 2024, std::nullopt, Variant("S"), nullo).toDouble(), 0);

    // No row: a new year, another warehouse. Every output is 0, not an error.
    giac = Variant::null();
    EXPECT_DOUBLE_EQ(LeggiProgArticolo(conLivelli, 2030, std::nullopt, nullo, nullo, &disp, &giac, &ord).toDouble(), 0);
    EXPECT_EQ(disp.type(), Variant::Type::Double);
    EXPECT_DOUBLE_EQ(giac.toDouble(), 0);
    EXPECT_DOUBLE_EQ(ord.toDouble(), 0);
    EXPECT_DOUBLE_EQ(LeggiProgArticolo(conLivelli, 2024, Variant("99"), nullo, nullo).toDouble(), 0);
}

TEST_P(DatiMagazzino, StockAvailableAndOrderedRounding)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    giNumDecQta = 3;
    const auto riga = [](const char *magazzino, const char *livello, const char *valori) {
        esegui(QStringLiteral("Insert into ArticoliProg (Anno, Magazzino, Articolo, Livello1, Livello2, QtaIniziale, "
                              "QtaCarico, QtaScarico, QtaOrdFor, QtaImpCli) values (2024, '%1', 'PROVA', '%2', '~ç~', %3)")
                   .arg(QString::fromLatin1(magazzino), QString::fromLatin1(livello), QString::fromLatin1(valori)));
    };
    riga("01", "S", "10, 5, 3, 4, 6");
    const Variant nullo = Variant::null();
    Variant disp, giac, ord;
    EXPECT_DOUBLE_EQ(LeggiProgArticolo("PROVA", 2024, std::nullopt, nullo, nullo, &disp, &giac, &ord).toDouble(), 10);
    EXPECT_DOUBLE_EQ(giac.toDouble(), 12);
    EXPECT_DOUBLE_EQ(ord.toDouble(), 4);
    // Without a kind and without the available output: the stock.
    EXPECT_DOUBLE_EQ(LeggiProgArticolo("PROVA", 2024, std::nullopt, nullo, nullo).toDouble(), 12);

    riga("02", "M", "0.1235, 0.0001, 0, 0.6, 0.0002");
    EXPECT_DOUBLE_EQ(LeggiProgArticolo("PROVA", 2024, std::nullopt, nullo, nullo, &disp, &giac, &ord).toDouble(),
                     10.723);
    EXPECT_DOUBLE_EQ(giac.toDouble(), 12.124);
    EXPECT_DOUBLE_EQ(ord.toDouble(), 5); // 4.6 to a whole number
    EXPECT_DOUBLE_EQ(LeggiProgArticolo("PROVA", 2024, Variant("02"), nullo, nullo).toDouble(), 0.124);
}

// ---------------------------------------------------------------- price-list chain

QString dataIso(const Date &d)
{
    return d.toQDate().toString(Qt::ISODate);
}

void prezzo(const char *articolo, const char *listino, const char *livello1, const char *inizio,
            const char *fine = "01/01/2000")
{
    const Date di = *Date::parse(QString::fromLatin1(inizio));
    const Date df = *Date::parse(QString::fromLatin1(fine));
    ggDbAzienda->Esegui(gsNomeConn,
                        QStringLiteral("Insert into ArtListini (Articolo, Listino, Livello1, Livello2, DataInizio, "
                                       "DataFine, Prezzo) values ('%1', '%2', '%3', '~ç~', '%4', '%5', 1)")
                            .arg(QString::fromLatin1(articolo), QString::fromLatin1(listino),
                                 QString::fromUtf8(livello1), dataIso(di), dataIso(df)));
}

// Start and end dates of the rows of article, level 1 and list, in start order: "01/01-29/02".
QStringList catena(const char *articolo = "A1", const char *listino = "L1", const char *livello1 = "~ç~")
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                              QStringLiteral("Select DataInizio, DataFine from ArtListini Where Articolo = '%1' And "
                                             "Listino = '%2' And Livello1 = '%3' Order By DataInizio")
                                  .arg(QString::fromLatin1(articolo), QString::fromLatin1(listino),
                                       QString::fromUtf8(livello1)));
    QStringList out;
    for (; !rs.Eof(a); rs.MoveNext(a))
        out << rs.LeggiCampo(a, u"DataInizio").toDate().toQDate().toString("dd/MM/yyyy") + "-" +
                   rs.LeggiCampo(a, u"DataFine").toDate().toQDate().toString("dd/MM/yyyy");
    return out;
}

void aggiorna(const char *inizio, const char *articolo = "A1", const char *listino = "L1")
{
    QString l1, l2;
    AggiornaDateListino(QString::fromLatin1(articolo), l1, l2, QString::fromLatin1(listino),
                        QString::fromLatin1(inizio));
}

TEST_P(DatiMagazzino, PriceListChainOfThreeRows)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    prezzo("A1", "L1", "~ç~", "01/01/2024");
    prezzo("A1", "L1", "~ç~", "01/03/2024");
    prezzo("A1", "L1", "~ç~", "01/06/2024");
    // Neighbours that are no part of the chain.
    prezzo("A1", "L2", "~ç~", "01/03/2024");
    prezzo("A2", "L1", "~ç~", "01/03/2024");
    prezzo("A1", "L1", "S", "01/03/2024");
    const QStringList vicini = catena("A1", "L2") + catena("A2") + catena("A1", "L1", "S");

    aggiorna("15/04/2024");
    EXPECT_EQ(catena(), (QStringList{"01/01/2024-01/01/2000", "01/03/2024-01/01/2000", "01/06/2024-01/01/2000"}));

    aggiorna("01/03/2024");
    EXPECT_EQ(catena(), (QStringList{"01/01/2024-29/02/2024", "01/03/2024-31/05/2024", "01/06/2024-01/01/2000"}));

    esegui("Update ArtListini Set DataFine = #01/01/2000# Where Articolo = 'A1' And Listino = 'L1'");
    aggiorna("01/06/2024");
    EXPECT_EQ(catena(), (QStringList{"01/01/2024-01/01/2000", "01/03/2024-31/05/2024", "01/06/2024-31/12/9999"}));

    aggiorna("01/01/2024");
    EXPECT_EQ(catena(), (QStringList{"01/01/2024-29/02/2024", "01/03/2024-31/05/2024", "01/06/2024-31/12/9999"}));

    EXPECT_EQ(catena("A1", "L2") + catena("A2") + catena("A1", "L1", "S"), vicini);
}

TEST_P(DatiMagazzino, PriceListChainOfOneAndTwoRows)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    aggiorna("01/01/2024"); // no row: nothing, no error
    EXPECT_TRUE(catena().isEmpty());

    prezzo("A1", "L1", "~ç~", "01/03/2024");
    aggiorna("15/04/2024"); // one row ends on 31/12/9999 whatever the start
    EXPECT_EQ(catena(), QStringList{"01/03/2024-31/12/9999"});

    prezzo("A1", "L1", "~ç~", "01/01/2024", "31/12/9999");
    aggiorna("01/01/2024");
    EXPECT_EQ(catena(), (QStringList{"01/01/2024-29/02/2024", "01/03/2024-31/12/9999"}));

    prezzo("A1", "L1", "~ç~", "01/02/2025", "31/12/9999");
    esegui("Delete from ArtListini Where DataInizio = #01/01/2024#");
    aggiorna("01/02/2025");
    EXPECT_EQ(catena(), (QStringList{"01/03/2024-31/01/2025", "01/02/2025-31/12/9999"}));
}

TEST_P(DatiMagazzino, PriceListLevelsTrimmedAndMarked)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    prezzo("A1", "L1", "S", "01/01/2024");
    prezzo("A1", "L1", "S", "01/03/2024");
    QString l1 = "  S";
    QString l2 = "   ";
    AggiornaDateListino("A1", l1, l2, "L1", "01/01/2024");
    EXPECT_EQ(l1, "S");
    EXPECT_EQ(l2, "");
    EXPECT_EQ(catena("A1", "L1", "S"), (QStringList{"01/01/2024-29/02/2024", "01/03/2024-01/01/2000"}));
}

INSTANTIATE_TEST_SUITE_P(Motori, DatiMagazzino, kBothEngines, engineParamName);

} // namespace
