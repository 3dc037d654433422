// Picking and releasing an order on both engines: the staged rows of its lines, levels,
// summary rows and expenses, the order lock against another holder, and a pick that fails
// half way leaving nothing behind.
#include "connessionedb.h"
#include "contesto.h"
#include "prelievodiprova.h"
#include "riepiloghilivelli.h"

namespace {


class Prelievo : public PrelievoDiProva {};

TEST_P(Prelievo, AGroupIsStagedLineByLineLevelByLevelWithSummaryRowsAndExpenses)
{
    const int32_t n = ordine(ordineTipo());
    ASSERT_EQ(c().PrelevaOrdine(daPrelevare(n)), Esito::Prelevato);
    // the summary row: the totals of the level rows staged with it (L/ROSSO, delivered, is not)
    EXPECT_EQ(staging(), (QStringList{"1| | |ART00001|10|0|N|10", "2|*liv| |ART00005|7|1|N|6",
                                      "2|M|BLU|ART00005|4|0|N|4", "2|S|ROSSO|ART00005|3|1|N|2", "4| | |||0|S|"}));
    EXPECT_EQ(ordinate("Select Descrizione from OrdVenEvaDett Where RigDet = 4"), QStringList{"Consegna al piano"});
    EXPECT_EQ(ordinate("Select Utente, NumRif, Riga, Selez from OrdVenEvaSpese"), QStringList{QStringLiteral("mario|%1|1|N").arg(n)});
    EXPECT_EQ(blocchi(), QStringList{QStringLiteral("%1|mario|0|3").arg(n)});
    EXPECT_TRUE(c().BloccoDellaSessione(2024, n));
    EXPECT_TRUE(dialoghi->testi.isEmpty());

    // "Tutto" off: nothing proposed; the order is this session's, so no question either.
    ASSERT_EQ(c().PrelevaOrdine(daPrelevare(n, false)), Esito::Prelevato);
    EXPECT_EQ(staging(), (QStringList{"1| | |ART00001|10|0|N|0", "2|*liv| |ART00005|7|1|N|0",
                                      "2|M|BLU|ART00005|4|0|N|0", "2|S|ROSSO|ART00005|3|1|N|0", "4| | |||0|S|0"}));
    EXPECT_TRUE(dialoghi->testi.isEmpty());
}

TEST_P(Prelievo, WithoutLevelsManagedEachOpenLineIsOneRow)
{
    const int32_t n = ordine(ordineTipo());
    OrdineDaPrelevare o = daPrelevare(n);
    o.gesTaglie = false;
    ASSERT_EQ(c().PrelevaOrdine(o), Esito::Prelevato);
    EXPECT_EQ(staging(), (QStringList{"1| | |ART00001|10|0|N|10", "2| | |ART00005|9|3|N|6", "4| | |||0|S|"}));
}

TEST_P(Prelievo, DeliveryDateAndArticleRangesOfTheRequest)
{
    suite::OrderInput o;
    const auto riga = [](int articolo, const Variant &data) {
        return suite::LineInput{.articolo = suite::articleCode(articolo), .qta = 1, .prezzo = 1, .extra = {{"DataCons", data}}};
    };
    o.righe = {riga(1, Date::fromYmd(2024, 3, 2)), riga(2, Date::fromYmd(2024, 3, 20)), riga(3, Variant::null())};
    const int32_t n = ordine(o);
    struct Caso {
        Variant testata;
        QStringList attese;
    } casi[] = {
        {Date::fromYmd(2024, 3, 5), {"1", "3"}},
        {Date::fromYmd(2024, 3, 20), {"1"}},
        {Variant::null(), {"1"}},
    };
    for (const auto &caso : casi) {
        OrdineDaPrelevare p = daPrelevare(n);
        p.dataConsTestata = caso.testata;
        p.dataConsDa = Date::fromYmd(2024, 3, 1);
        p.dataConsA = Date::fromYmd(2024, 3, 10);
        ASSERT_EQ(c().PrelevaOrdine(p), Esito::Prelevato);
        EXPECT_EQ(ordinate("Select RigDet from OrdVenEvaDett"), caso.attese) << caso.testata.text().toStdString();
    }
    OrdineDaPrelevare p = daPrelevare(n);
    p.articoloDa = suite::articleCode(2);
    p.articoloA = suite::articleCode(3);
    ASSERT_EQ(c().PrelevaOrdine(p), Esito::Prelevato);
    EXPECT_EQ(ordinate("Select RigDet from OrdVenEvaDett"), (QStringList{"2", "3"}));
}

TEST_P(Prelievo, ClassAttributesExtendTheDescription)
{
    suite::insertRow(fixture, "ArtClasseAttr", {{"ArtClasse", static_cast<int16_t>(1)}, {"ArtClasseAttr", "C1"}, {"Descrizione", "ABCDEFG"}});
    suite::execSql(fixture, "Update Articoli Set ArtClasseAttr1 = 'C1', ArtClasseAttr2 = 'XYZW', ArtClasseAttr4 = 'KLMN'"
                            " Where Articolo = 'ART00001'");
    suite::OrderInput o;
    o.righe = {{.articolo = suite::articleCode(1), .qta = 1, .prezzo = 1, .descrizione = "Vite"},
               {.articolo = suite::articleCode(2), .qta = 1, .prezzo = 1, .descrizione = "Dado"}};
    const int32_t n = ordine(o);
    OrdineDaPrelevare p = daPrelevare(n);
    p.partitaEnse = true;
    ASSERT_EQ(c().PrelevaOrdine(p), Esito::Prelevato);
    EXPECT_EQ(ordinate("Select Descrizione from OrdVenEvaDett"), (QStringList{"Dado ---", "Vite -ABCDE-XYZ-KLM"}));
}

TEST_P(Prelievo, AnOrderHeldByAnotherUserAsksToRetryOrGiveUp)
{
    const int32_t n = ordine(ordineTipo());
    lockDi(QStringLiteral("luigi"), n);
    dialoghi->risposta = [](const RichiestaMsgCom &r) {
        EXPECT_EQ(r.psCom1, "Riprova");
        EXPECT_EQ(r.pvCom2.text(), "Esci");
        return 2;
    };
    EXPECT_EQ(c().PrelevaOrdine(daPrelevare(n)), Esito::Rinuncia);
    EXPECT_EQ(dialoghi->testi, QStringList{QStringLiteral("Ordini vendita n.rif %1 anno 2024 in uso da luigi").arg(n)});
    EXPECT_TRUE(staging().isEmpty());
    EXPECT_EQ(marchi(n), QStringList{"N|N"});
    EXPECT_EQ(blocchi(), QStringList{QStringLiteral("%1|luigi|0|3").arg(n)});

    // The other user lets the order go while the question is on screen: "Riprova" takes it.
    dialoghi->testi.clear();
    dialoghi->risposta = [&](const RichiestaMsgCom &) {
        suite::execSql(fixture, "Delete from LockGest");
        return 1;
    };
    EXPECT_EQ(c().PrelevaOrdine(daPrelevare(n)), Esito::Prelevato);
    EXPECT_EQ(dialoghi->testi.size(), 1);
    EXPECT_EQ(blocchi(), QStringList{QStringLiteral("%1|mario|0|3").arg(n)});
    EXPECT_EQ(staging(n).size(), 5);
}

TEST_P(Prelievo, ALockOfTheSameUserNotTakenHereIsNotThisFormsOwn)
{
    const int32_t n = ordine(ordineTipo());
    lockDi(kUtente, n);
    dialoghi->risposta = [](const RichiestaMsgCom &) { return 2; };
    EXPECT_EQ(c().PrelevaOrdine(daPrelevare(n)), Esito::Rinuncia);
    EXPECT_EQ(dialoghi->testi, QStringList{QStringLiteral("Ordini vendita n.rif %1 anno 2024 in uso da mario").arg(n)});
    EXPECT_TRUE(staging().isEmpty());

    // Nor is it released with the order: it stays for its owner.
    c().RilasciaOrdine(2024, n);
    EXPECT_EQ(blocchi(), QStringList{QStringLiteral("%1|mario|0|3").arg(n)});
}

TEST_P(Prelievo, ReleasingTakesAwayOnlyTheUsersRowsAndThisSessionsLock)
{
    const int32_t n = ordine(ordineTipo());
    const int32_t altro = ordine(ordineTipo());
    ASSERT_EQ(c().PrelevaOrdine(daPrelevare(n)), Esito::Prelevato);
    ASSERT_EQ(c().PrelevaOrdine(daPrelevare(altro)), Esito::Prelevato);
    // Another user's staging of the same order (a leftover) is not this user's to delete.
    suite::insertRow(fixture, "OrdVenEvaDett", {{"Utente", "luigi"}, {"Anno", static_cast<int16_t>(2024)}, {"NumRif", n},
                                                {"RigLiv", 1}, {"Livello1", " "}, {"Livello2", " "}, {"QtaDaEva", 1.0}});
    suite::insertRow(fixture, "OrdVenEvaSpese", {{"Utente", "luigi"}, {"Anno", static_cast<int16_t>(2024)}, {"NumRif", n},
                                                 {"Riga", 1}, {"Selez", "S"}});

    c().RilasciaOrdine(2024, n);
    EXPECT_TRUE(staging(n).isEmpty());
    EXPECT_EQ(staging(altro).size(), 5);
    EXPECT_EQ(ordinate(QStringLiteral("Select Utente from OrdVenEvaDett Where NumRif = %1").arg(n)), QStringList{"luigi"});
    EXPECT_EQ(ordinate(QStringLiteral("Select Utente from OrdVenEvaSpese Where NumRif = %1").arg(n)), QStringList{"luigi"});
    EXPECT_EQ(blocchi(), QStringList{QStringLiteral("%1|mario|0|3").arg(altro)});
    EXPECT_FALSE(c().BloccoDellaSessione(2024, n));
    EXPECT_TRUE(dialoghi->testi.isEmpty());

    // A lock of another user on a released order stays, without a word.
    lockDi(QStringLiteral("luigi"), n);
    c().RilasciaOrdine(2024, n);
    EXPECT_EQ(blocchi().size(), 2);
    EXPECT_TRUE(dialoghi->testi.isEmpty());

    c().CancellaAppo();
    EXPECT_EQ(blocchi(), QStringList{QStringLiteral("%1|luigi|0|3").arg(n)});
}

TEST_P(Prelievo, APickThatFailsHalfWayLeavesTheOrderUnpicked)
{
    const int32_t altro = ordine(ordineTipo());
    ASSERT_EQ(c().PrelevaOrdine(daPrelevare(altro)), Esito::Prelevato);
    const int32_t n = ordine(ordineTipo());
    // The expenses cannot be staged: lines and summary rows went in before.
    suite::execSql(fixture, "Alter Table OrdVenSpese Rename To OrdVenSpeseVia");
    ggDbAzienda->AggiornaCatalogo();

    EXPECT_EQ(c().PrelevaOrdine(daPrelevare(n)), Esito::Fallito);
    ASSERT_EQ(dialoghi->testi.size(), 1);
    EXPECT_TRUE(dialoghi->testi[0].startsWith("Errore N° ")) << dialoghi->testi[0].toStdString();
    EXPECT_TRUE(dialoghi->testi[0].endsWith(" in EvasioneManuale (AfterUpdate)")) << dialoghi->testi[0].toStdString();
    EXPECT_TRUE(staging(n).isEmpty());
    EXPECT_EQ(marchi(n), QStringList{"N|N"});
    EXPECT_EQ(blocchi(), QStringList{QStringLiteral("%1|mario|0|3").arg(altro)});
    EXPECT_FALSE(c().BloccoDellaSessione(2024, n));
    // The other picked order keeps its rows.
    EXPECT_EQ(staging(altro).size(), 5);
    EXPECT_EQ(ordinate("Select NumRif from OrdVenEvaSpese"), QStringList{QString::number(altro)});
}

TEST_P(Prelievo, ASummaryRowSwitchesTheLevelsOfItsLineAllOrNothing)
{
    const int32_t n = ordine(ordineTipo());
    ASSERT_EQ(c().PrelevaOrdine(daPrelevare(n, false)), Esito::Prelevato);
    const auto livelli = [&] {
        return ordinate(QStringLiteral("Select Livello1, QtaDaEva from OrdVenEvaDett Where RigLiv = 2 And Livello1 <> '*liv'"));
    };
    RigaCorpo riepilogo{.anno = 2024, .numRif = n, .rigDet = 2, .rigLiv = 2, .livello1 = "*liv", .livello2 = " ", .qtaDaEva = 6.0};
    riepiloghi::AggLivDaDetRiep(riepilogo);
    EXPECT_EQ(livelli(), (QStringList{"M|4", "S|2"}));
    riepilogo.qtaDaEva = 0.0;
    riepiloghi::AggLivDaDetRiep(riepilogo);
    EXPECT_EQ(livelli(), (QStringList{"M|0", "S|0"}));
    // Only a summary row carries over: a level row or a line row changes no other row.
    riepiloghi::AggLivDaDetRiep({.anno = 2024, .numRif = n, .rigDet = 2, .rigLiv = 2, .livello1 = "M", .livello2 = "BLU", .qtaDaEva = 3.0});
    EXPECT_EQ(livelli(), (QStringList{"M|0", "S|0"}));
    EXPECT_TRUE(dialoghi->testi.isEmpty());
}

TEST_P(Prelievo, AFeeLineFollowsItsArticleLineWithTheLevelsTogether)
{
    suite::OrderInput o;
    o.righe = {{.articolo = suite::articleCode(5), .prezzo = 3, .livelli = {{"S", "ROSSO", 3, 0}, {"M", "BLU", 4, 0}}, .extra = {{"RigLivRAEE", 2}}},
               {.articolo = suite::articleCode(4), .qta = 7, .prezzo = 0.5},
               {.articolo = suite::articleCode(1), .qta = 1, .prezzo = 1, .extra = {{"RigLivRAEE", 9}}}};
    const int32_t n = ordine(o);
    ASSERT_EQ(c().PrelevaOrdine(daPrelevare(n, false)), Esito::Prelevato);
    const auto tassa = [&] { return ordinate(QStringLiteral("Select QtaDaEva, ASaldo from OrdVenEvaDett Where RigLiv = 2")); };
    suite::execSql(fixture, "Update OrdVenEvaDett Set QtaDaEva = 2 Where Livello1 = 'S'");
    suite::execSql(fixture, "Update OrdVenEvaDett Set QtaDaEva = 3, ASaldo = 'S' Where Livello1 = 'M'");
    const RigaCorpo livello{.anno = 2024, .numRif = n, .rigDet = 1, .rigLiv = 1, .livello1 = "M", .livello2 = "BLU",
                            .qtaDaEva = 3.0, .aSaldo = "S", .rigLivRAEE = 2};
    EXPECT_TRUE(riepiloghi::AggQtaRAEE(livello));
    // The fee goes with every piece of the line, not with the level last changed.
    EXPECT_EQ(tassa(), QStringList{"5|S"});

    RigaCorpo senza = livello;
    for (const Variant &v : {Variant(0), Variant(-1), Variant::null(), Variant("")}) {
        senza.rigLivRAEE = v;
        EXPECT_FALSE(riepiloghi::AggQtaRAEE(senza));
    }
    // A fee line that is not staged: nothing to write, nothing to say.
    EXPECT_TRUE(riepiloghi::AggQtaRAEE({.anno = 2024, .numRif = n, .rigDet = 3, .rigLiv = 3, .livello1 = " ", .livello2 = " ",
                                        .qtaDaEva = 1.0, .aSaldo = "N", .rigLivRAEE = 9}));
    EXPECT_EQ(tassa(), QStringList{"5|S"});
    EXPECT_TRUE(dialoghi->testi.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, Prelievo, kBothEngines, engineParamName);

} // namespace
