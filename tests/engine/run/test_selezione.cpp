// The selection of the orders and of their lines, run on both engines: which orders each
// criterion keeps, and which lines and level rows the marking statements mark compared with
// the lines the line statement reads.
#include "evasionediprova.h"

#include "contesto.h"
#include "gestrecordset.h"
#include "rowwriter.h"

#include <QDate>
#include <algorithm>
#include <set>

namespace {

Variant data(int mese, int giorno) { return Variant(Date::fromYmd(2024, mese, giorno)); }

class Selezione : public EvasioneDiProva {
protected:
    void SetUp() override
    {
        EvasioneDiProva::SetUp();
        if (IsSkipped())
            return;
        eva.osFattDocOrd.clear();
        const Variant n = Variant::null();
        suite::OrderInput o;
        // 1: open, header delivery date 10/04.
        o = {};
        o.numRif = 1;
        o.cliente = 1;
        o.dataRif = QDate(2024, 3, 1);
        o.righe = {{.articolo = suite::articleCode(1), .qta = 4, .prezzo = 2}};
        o.extra = {{"NumDoc", 101}, {"DataDoc", data(3, 1)}, {"Descrizione", "Fornitura Dell'Orto"}, {"DataCons", data(4, 10)}};
        ordine(o);
        // 2: in dollars; an open line due 15/05 and a fulfilled one due 20/04.
        o = {};
        o.numRif = 2;
        o.cliente = 2;
        o.moneta = QStringLiteral("USD");
        o.dataRif = QDate(2024, 3, 5);
        o.righe = {{.articolo = suite::articleCode(2), .qta = 4, .prezzo = 2, .extra = {{"DataCons", data(5, 15)}}},
                   {.articolo = suite::articleCode(3), .qta = 2, .prezzo = 2, .qtaEvasa = 2, .extra = {{"DataCons", data(4, 20)}}}};
        o.extra = {{"NumDoc", 102}, {"DataDoc", data(3, 5)}, {"Descrizione", "50% sconto*speciale"}, {"Stato", n},
                   {"DataCons", n}};
        ordine(o);
        // 3: to be invoiced.
        o = {};
        o.numRif = 3;
        o.cliente = 3;
        o.fattDocumento = suite::fx::kOrderTypeToInvoice;
        o.dataRif = QDate(2024, 4, 1);
        o.righe = {{.articolo = suite::articleCode(4), .qta = 1, .prezzo = 2}};
        o.extra = {{"NumDoc", 103}, {"DataDoc", data(4, 2)}, {"Descrizione", "ordine_urgente [A]"}, {"DataCons", n}};
        ordine(o);
        // 4 fulfilled, 5 internal, 6 registered after the fulfilment date: never selected.
        o = {};
        o.numRif = 4;
        o.righe = {{.articolo = suite::articleCode(1), .qta = 1, .prezzo = 2}};
        o.extra = {{"Stato", "E"}};
        ordine(o);
        o.numRif = 5;
        o.extra = {{"Interno", "S"}};
        ordine(o);
        o.numRif = 6;
        o.dataRif = QDate(2024, 7, 15);
        o.extra = {};
        ordine(o);
        // 7: without a customer (a counter sale).
        o = {};
        o.numRif = 7;
        o.cliente = 4;
        o.righe = {{.articolo = suite::articleCode(1), .qta = 1, .prezzo = 2}};
        o.extra = {{"GruppoCli", n}, {"MastroCli", n}, {"ContoCli", n}, {"Descrizione", "Vendita banco"}};
        ordine(o);
        // 8: no mastro in its account; Interno "N".
        o = {};
        o.numRif = 8;
        o.cliente = 2;
        o.righe = {{.articolo = suite::articleCode(1), .qta = 1, .prezzo = 2}};
        o.extra = {{"MastroCli", n}, {"Interno", "N"}, {"Descrizione", "OrdineXurgente"}, {"DataCons", n}};
        ordine(o);
    }

    std::set<int> selezionati(bool joinSel = false, int16_t anno = 0, int32_t numRif = 0)
    {
        std::set<int> out;
        GestRecordset rs;
        const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, eva.PrepSqlSelOrd(joinSel, anno, numRif));
        for (; !rs.Eof(a); rs.MoveNext(a))
            out.insert(rs.LeggiCampo(a, u"OrdVenTest.NumRif").toLong());
        return out;
    }
};

TEST_P(Selezione, EachCriterionKeepsItsOrders)
{
    struct Caso {
        const char *nome;
        std::function<void(scEvaOrdVen &)> criterio;
        std::set<int> attesi;
    };
    const std::vector<Caso> casi = {
        {"nessun criterio", [](scEvaOrdVen &) {}, {1, 2, 3, 8}},
        {"corrispettivo", [](scEvaOrdVen &e) { e.obEvACorrisp = true; }, {1, 2, 3, 7, 8}},
        {"tipo documento", [](scEvaOrdVen &e) { e.osFattDocOrd = "ocf"; }, {3}},
        {"tipo documento di soli spazi", [](scEvaOrdVen &e) { e.osFattDocOrd = "   "; }, {1, 2, 3, 8}},
        {"moneta", [](scEvaOrdVen &e) { e.osMoneta = "USD"; }, {2}},
        {"clienti 2-3", [](scEvaOrdVen &e) { e.osCliDa = "14-01-0002"; e.osCliA = "14010003"; }, {2, 3}},
        // The three parts joined as text, a missing part as nothing: "14" & "" & "0002".
        {"clienti per testo", [](scEvaOrdVen &e) { e.osCliDa = "1400"; e.osCliA = "14019999"; }, {1, 2, 3, 8}},
        {"clienti fino a 1400", [](scEvaOrdVen &e) { e.osCliA = "140002"; }, {8}},
        {"articolo con riga aperta", [](scEvaOrdVen &e) { e.osArticoloDa = e.osArticoloA = suite::articleCode(2); }, {2}},
        {"articolo solo su riga evasa", [](scEvaOrdVen &e) { e.osArticoloDa = e.osArticoloA = suite::articleCode(3); }, {}},
        {"articolo da", [](scEvaOrdVen &e) { e.osArticoloDa = suite::articleCode(2); }, {2, 3}},
        {"consegna in testata", [](scEvaOrdVen &e) { e.ovDataConsDa = data(4, 1); e.ovDataConsA = data(4, 12); }, {1}},
        {"consegna su riga evasa", [](scEvaOrdVen &e) { e.ovDataConsDa = data(4, 15); e.ovDataConsA = data(4, 25); }, {2}},
        {"consegna fino a", [](scEvaOrdVen &e) { e.ovDataConsA = data(4, 12); }, {1}},
        {"consegna da", [](scEvaOrdVen &e) { e.ovDataConsDa = data(5, 1); }, {2}},
        {"registrazione", [](scEvaOrdVen &e) { e.ovDataRifDa = data(3, 2); e.ovDataRifA = data(4, 1); }, {2, 3}},
        {"registrazione oltre l'evasione", [](scEvaOrdVen &e) { e.ovDataRifDa = data(7, 1); }, {}},
        {"numero", [](scEvaOrdVen &e) { e.olNumRifDa = 2; e.olNumRifA = 3; }, {2, 3}},
        {"numero 0 o meno", [](scEvaOrdVen &e) { e.olNumRifDa = 0; e.olNumRifA = -5; }, {1, 2, 3, 8}},
        {"data documento", [](scEvaOrdVen &e) { e.ovDataDocDa = data(3, 2); e.ovDataDocA = data(4, 30); }, {2, 3}},
        {"numero documento", [](scEvaOrdVen &e) { e.olNumDocDa = 102; }, {2, 3}},
        {"numero documento fino a", [](scEvaOrdVen &e) { e.olNumDocA = 101; }, {1, 8}},
        {"descrizione con apostrofo", [](scEvaOrdVen &e) { e.osInDesc = "fornitura dell'"; }, {1}},
        {"descrizione contenuta non iniziale", [](scEvaOrdVen &e) { e.osInDesc = "Orto"; }, {}},
        {"descrizione con %", [](scEvaOrdVen &e) { e.osInDesc = "50%"; }, {2}},
        {"solo %", [](scEvaOrdVen &e) { e.osInDesc = "%"; }, {}},
        {"descrizione con *", [](scEvaOrdVen &e) { e.osInDesc = "50% sconto*"; }, {2}},
        {"solo *", [](scEvaOrdVen &e) { e.osInDesc = "*"; }, {}},
        {"descrizione con _", [](scEvaOrdVen &e) { e.osInDesc = "ordine_"; }, {3}},
        {"descrizione con [", [](scEvaOrdVen &e) { e.osInDesc = "ordine_urgente [A"; }, {3}},
        {"solo ? e #", [](scEvaOrdVen &e) { e.osInDesc = "?#"; }, {}},
    };
    for (const Caso &c : casi) {
        richiestaBase();
        eva.osFattDocOrd.clear();
        eva.osMoneta.clear();
        eva.osCliDa.clear();
        eva.osCliA.clear();
        eva.osArticoloDa.clear();
        eva.osArticoloA.clear();
        eva.olNumRifDa = eva.olNumRifA = eva.olNumDocDa = eva.olNumDocA = 0;
        eva.osInDesc.clear();
        c.criterio(eva);
        EXPECT_EQ(selezionati(), c.attesi) << c.nome;
    }
}

TEST_P(Selezione, TheFourFormsOfTheSelectionRunAndReadTheirFields)
{
    suite::insertRow(fixture, "OrdVenEvaTest", {{"Utente", kUtente}, {"Anno", int16_t(2024)}, {"NumRif", 4}, {"Selez", "S"}});
    suite::insertRow(fixture, "OrdVenEvaTest", {{"Utente", kUtente}, {"Anno", int16_t(2024)}, {"NumRif", 1}, {"Selez", "N"}});
    suite::insertRow(fixture, "OrdVenEvaTest", {{"Utente", "luigi"}, {"Anno", int16_t(2024)}, {"NumRif", 2}, {"Selez", "S"}});
    for (const QString &tipo : {QString(), QStringLiteral("DDT")}) {
        eva.osTipoDocEva = tipo;
        // The picked staging rows are the selection, whatever the request says.
        eva.osMoneta = QStringLiteral("USD");
        EXPECT_EQ(selezionati(true), (std::set<int>{4})) << tipo.toStdString();
        eva.osMoneta.clear();
        EXPECT_EQ(selezionati(false, 2024, 4), (std::set<int>{4})) << tipo.toStdString();
        EXPECT_EQ(selezionati(false), (std::set<int>{1, 2, 3, 8})) << tipo.toStdString();
        EXPECT_EQ(selezionati(true, 2024, 1), (std::set<int>{4})) << tipo.toStdString();
    }

    eva.osTipoDocEva.clear();
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, eva.PrepSqlSelOrd(false, 2024, 1));
    EXPECT_EQ(rs.LeggiCampo(a, u"OrdVenTest.Descrizione").text(), "Fornitura Dell'Orto");
    EXPECT_EQ(rs.LeggiCampo(a, u"Monete.Moneta").text(), "Euro");
    EXPECT_EQ(rs.LeggiCampo(a, u"FattDocumenti.FattDocEvasione").text(), "DDT");
    EXPECT_EQ(rs.LeggiCampo(a, u"Doc2DoveDesLung").toLong(), 1); // of "DDT", the type "OC" is fulfilled by
    EXPECT_EQ(rs.LeggiCampo(a, u"PianoConti.Descrizione").text(), "Cliente 0001");
}

INSTANTIATE_TEST_SUITE_P(Motori, Selezione, kBothEngines, engineParamName);

// ------------------------------------------------------------------ lines of an order

struct Riga {
    int rigLiv;
    QString l1, l2;
    bool operator<(const Riga &o) const { return std::tie(rigLiv, l1, l2) < std::tie(o.rigLiv, o.l1, o.l2); }
    bool operator==(const Riga &o) const = default;
};

class RigheOrdine : public EvasioneDiProva {
protected:
    void SetUp() override
    {
        EvasioneDiProva::SetUp();
        if (IsSkipped())
            return;
        const QString livelli = suite::articleCode(5); // the fixture's level article
        // Order 1 (header due 10/04): a plain open line, a fulfilled one, a description line,
        // a level line (S/ROSSO, M/ROSSO), a line due 20/05 and a line of another article.
        suite::OrderInput o;
        o.numRif = 1;
        o.righe = {{.articolo = suite::articleCode(1), .qta = 4, .prezzo = 2},
                   {.articolo = suite::articleCode(1), .qta = 2, .prezzo = 2, .qtaEvasa = 2},
                   {.tipoRiga = "D", .descrizione = "Consegna al piano"},
                   {.articolo = livelli, .prezzo = 3, .livelli = {{"S", "ROSSO", 1}, {"M", "ROSSO", 2}}},
                   {.articolo = suite::articleCode(1), .qta = 1, .prezzo = 2, .extra = {{"DataCons", data(5, 20)}}},
                   {.articolo = suite::articleCode(2), .qta = 1, .prezzo = 2}};
        o.extra = {{"DataCons", data(4, 10)}};
        ordine(o);
        // Order 2 without a header delivery date, lines as order 1's first and fifth.
        o = {};
        o.numRif = 2;
        o.righe = {{.articolo = suite::articleCode(1), .qta = 4, .prezzo = 2},
                   {.articolo = suite::articleCode(1), .qta = 1, .prezzo = 2, .extra = {{"DataCons", data(5, 20)}}}};
        o.extra = {{"DataCons", Variant::null()}};
        ordine(o);
    }

    void suOrdine(int32_t numRif)
    {
        eva.msAliasOrd = QStringLiteral("ordini");
        eva.mgRecs().Apri(*ggDbAzienda, gsNomeConn, eva.msAliasOrd, eva.PrepSqlSelOrd(false, 2024, numRif), false, dbOpenDynaset);
    }

    // The rows the line statement reads: line and level (empty for the line's own row).
    std::vector<Riga> letti(bool ripri = false)
    {
        std::vector<Riga> out;
        GestRecordset rs;
        const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, eva.PrepSqlDett(0, ripri));
        for (; !rs.Eof(a); rs.MoveNext(a)) {
            Riga r{rs.LeggiCampo(a, u"OrdVenDett.RigLiv").toLong(), {}, {}};
            if (eva.msGesTaglie == "S") {
                r.l1 = rs.LeggiCampo(a, u"OrdVenLiv.Livello1").text();
                r.l2 = rs.LeggiCampo(a, u"OrdVenLiv.Livello2").text();
            }
            out.push_back(r);
        }
        return out;
    }
    std::set<int> righeLette(bool ripri = false)
    {
        std::set<int> s;
        for (const Riga &r : letti(ripri))
            s.insert(r.rigLiv);
        return s;
    }
    std::set<Riga> livelliLetti()
    {
        std::set<Riga> s;
        for (const Riga &r : letti())
            if (!r.l1.isEmpty())
                s.insert(r);
        return s;
    }
    // Marks with modes 1 and 2 (levels handled), and gives back what they marked.
    std::set<int> righeSegnate()
    {
        esegui("Update OrdVenDett Set FlagStato = '0'");
        ggDbAzienda->Esegui(gsNomeConn, eva.PrepSqlDett(1, false));
        std::set<int> s;
        for (const QString &r : righe("Select RigLiv from OrdVenDett Where NumRif = "
                                      + eva.mgRecs().LeggiCampo(eva.msAliasOrd, u"OrdVenTest.NumRif").text()
                                      + " And FlagStato = '4'"))
            s.insert(r.toInt());
        return s;
    }
    std::set<Riga> livelliSegnati()
    {
        esegui("Update OrdVenLiv Set FlagStato = '0'");
        ggDbAzienda->Esegui(gsNomeConn, eva.PrepSqlDett(2, false));
        std::set<Riga> s;
        for (const QString &r : righe("Select RigLiv, Livello1, Livello2 from OrdVenLiv Where FlagStato = '4'")) {
            const QStringList p = r.split('|');
            s.insert({p[0].toInt(), p[1], p[2]});
        }
        return s;
    }
};

TEST_P(RigheOrdine, AutomaticWithoutLevelsMarksTheLinesItReads)
{
    eva.msGesTaglie = QStringLiteral("N");
    suOrdine(1);
    // Every line not fulfilled, description lines included.
    EXPECT_EQ(righeLette(), (std::set<int>{1, 3, 4, 5, 6}));
    EXPECT_EQ(righeSegnate(), righeLette());

    struct Caso {
        const char *nome;
        Variant da, a;
        QString artDa, artA;
        int32_t ordine;
        std::set<int> attese;
    };
    const Variant n = Variant::null();
    const std::vector<Caso> casi = {
        // A line without its own date follows the header's (10/04).
        {"testata nell'intervallo", data(4, 1), data(4, 30), {}, {}, 1, {1, 3, 4, 6}},
        {"riga datata nell'intervallo", data(5, 1), data(5, 31), {}, {}, 1, {5}},
        {"solo fino a", n, data(4, 30), {}, {}, 1, {1, 3, 4, 6}},
        {"solo da", data(5, 1), n, {}, {}, 1, {5}},
        {"testata senza data", data(4, 1), data(4, 30), {}, {}, 2, {}},
        {"testata senza data, riga datata", data(5, 1), data(5, 31), {}, {}, 2, {2}},
        {"articoli", n, n, suite::articleCode(2), suite::articleCode(2), 1, {6}},
        {"articoli da", n, n, suite::articleCode(2), {}, 1, {4, 6}},
    };
    for (const Caso &c : casi) {
        eva.ovDataConsDa = c.da;
        eva.ovDataConsA = c.a;
        eva.osArticoloDa = c.artDa;
        eva.osArticoloA = c.artA;
        suOrdine(c.ordine);
        EXPECT_EQ(righeLette(), c.attese) << c.nome;
        EXPECT_EQ(righeSegnate(), c.attese) << c.nome;
    }
}

TEST_P(RigheOrdine, AutomaticWithLevelsMarksLinesAndOnlyExistingLevelRows)
{
    eva.msGesTaglie = QStringLiteral("S");
    suOrdine(1);
    EXPECT_EQ(righeLette(), (std::set<int>{1, 3, 4, 5, 6}));
    EXPECT_EQ(righeSegnate(), righeLette());
    const std::set<Riga> attesi{{4, "M", "ROSSO"}, {4, "S", "ROSSO"}};
    EXPECT_EQ(livelliLetti(), attesi);
    EXPECT_EQ(livelliSegnati(), attesi);

    eva.osArticoloDa = eva.osArticoloA = suite::articleCode(1);
    EXPECT_EQ(righeSegnate(), (std::set<int>{1, 5}));
    EXPECT_EQ(livelliSegnati(), std::set<Riga>{});
}

TEST_P(RigheOrdine, ManualModeTakesThisUsersStagingRowsToFulfilOrClose)
{
    const auto staging = [&](const QString &utente, int rigLiv, const QString &l1, const QString &l2, const char *saldo,
                             double qta) {
        suite::insertRow(fixture, "OrdVenEvaDett",
                         {{"Utente", utente}, {"Anno", int16_t(2024)}, {"NumRif", 1}, {"RigLiv", rigLiv}, {"Livello1", l1},
                          {"Livello2", l2}, {"ASaldo", saldo}, {"QtaDaEva", qta}});
    };
    staging(kUtente, 1, "", "", "N", 2);          // a quantity to fulfil
    staging(kUtente, 4, "S", "ROSSO", "N", 1);    // a level with a quantity
    staging(kUtente, 4, "M", "ROSSO", "N", 0);    // nothing to do
    staging(kUtente, 5, "", "", "S", 0);          // closed as balanced
    staging(QStringLiteral("luigi"), 6, "", "", "S", 1); // another user's
    eva.obEvasManule = true;

    eva.msGesTaglie = QStringLiteral("S");
    suOrdine(1);
    EXPECT_EQ(righeLette(), (std::set<int>{1, 4, 5}));
    EXPECT_EQ(righeSegnate(), righeLette());
    EXPECT_EQ(livelliLetti(), (std::set<Riga>{{4, "S", "ROSSO"}}));
    EXPECT_EQ(livelliSegnati(), livelliLetti());

    eva.msGesTaglie = QStringLiteral("N");
    EXPECT_EQ(righeLette(), (std::set<int>{1, 4, 5}));
    EXPECT_EQ(righeSegnate(), (std::set<int>{1, 4, 5}));
}

TEST_P(RigheOrdine, RecoveryReadsAndMarksTheRowsAnInterruptedRunHadTaken)
{
    const auto presi = [&] {
        esegui("Update OrdVenDett Set FlagStato = Null");
        esegui("Update OrdVenDett Set FlagStato = '2' Where RigLiv In (1, 4)");
        esegui("Update OrdVenDett Set FlagStato = '' Where RigLiv = 3");
        esegui("Update OrdVenLiv Set FlagStato = '2' Where Livello1 = 'S'");
        esegui("Update OrdVenLiv Set FlagStato = '0' Where Livello1 = 'M'");
    };
    const auto segnate = [&](int16_t modo) {
        ggDbAzienda->Esegui(gsNomeConn, eva.PrepSqlDett(modo, true));
        return righe(modo == 1 ? "Select RigLiv from OrdVenDett Where FlagStato = '4'"
                               : "Select RigLiv, Livello1 from OrdVenLiv Where FlagStato = '4'");
    };
    suOrdine(1);
    presi();
    eva.msGesTaglie = QStringLiteral("N");
    EXPECT_EQ(righeLette(true), (std::set<int>{1, 4}));
    EXPECT_EQ(segnate(1), (QStringList{"1", "4"}));

    // With levels handled, a taken line without levels is resumed too.
    presi();
    eva.msGesTaglie = QStringLiteral("S");
    EXPECT_EQ(letti(true), (std::vector<Riga>{{1, "", ""}, {4, "S", "ROSSO"}}));
    EXPECT_EQ(segnate(1), (QStringList{"1", "4"}));
    EXPECT_EQ(segnate(2), QStringList{"4|S"});

    // Manual mode reads only the lines this user's staging rows name: another user's rows, left
    // on the same level and on another taken line, are no part of the run.
    const auto staging = [&](const QString &utente, int rigLiv, const QString &l1, const QString &l2, double qta) {
        suite::insertRow(fixture, "OrdVenEvaDett",
                         {{"Utente", utente}, {"Anno", int16_t(2024)}, {"NumRif", 1}, {"RigLiv", rigLiv}, {"Livello1", l1},
                          {"Livello2", l2}, {"ASaldo", "N"}, {"QtaDaEva", qta}});
    };
    staging(kUtente, 4, "S", "ROSSO", 1.0);
    staging(QStringLiteral("luigi"), 4, "S", "ROSSO", 3.0);
    staging(QStringLiteral("luigi"), 1, " ", " ", 2.0);
    eva.obEvasManule = true;
    presi();
    EXPECT_EQ(letti(true), (std::vector<Riga>{{4, "S", "ROSSO"}}));
    EXPECT_EQ(segnate(1), QStringList{"4"});
    EXPECT_EQ(segnate(2), QStringList{"4|S"});
    presi();
    eva.msGesTaglie = QStringLiteral("N");
    EXPECT_EQ(righeLette(true), (std::set<int>{4}));
    EXPECT_EQ(segnate(1), QStringList{"4"});
}

TEST_P(RigheOrdine, TheReReadsFindTheLineAndTheLevelOfTheCurrentRow)
{
    eva.msGesTaglie = QStringLiteral("S");
    suOrdine(1);
    GestRecordset &rs = eva.mgRecs();
    rs.Apri(*ggDbAzienda, gsNomeConn, "righe", eva.PrepSqlDett(0, false));
    rs.FindFirst("righe", "OrdVenLiv.Livello1 = 'M'");
    ASSERT_FALSE(rs.NoMatch("righe"));
    GestRecordset riga;
    const QString r = riga.Apri(*ggDbAzienda, gsNomeConn, {}, eva.PrepSqlRilettOrdDett("righe"));
    ASSERT_EQ(riga.RecordCount(r), 1);
    EXPECT_EQ(riga.LeggiCampo(r, u"RigLiv").toLong(), 4);
    GestRecordset liv;
    const QString a = liv.Apri(*ggDbAzienda, gsNomeConn, {}, eva.PrepSqlRilettOrdDettLiv("righe"));
    ASSERT_EQ(liv.RecordCount(a), 1);
    EXPECT_EQ(liv.LeggiCampo(a, u"Livello1").text(), "M");
    EXPECT_EQ(liv.LeggiCampo(a, u"Qta").toDouble(), 2.0);
}

INSTANTIATE_TEST_SUITE_P(Motori, RigheOrdine, kBothEngines, engineParamName);

} // namespace
