// The line converter on both engines: document lines, reference and delivery state lines, the
// order lines' fulfilled quantities, states and run markers, the committed quantities, the
// level walk, the manual closings and the failures of a line or a level.
#include "campirigadiprova.h"
#include "evasionedettagli.h"
#include "righeprova.h"
#include "rowwriter.h"

namespace {

using suite::articleCode;
using suite::fx::kNoLevel;

const QString kArt1 = articleCode(1), kArt2 = articleCode(2), kArt3 = articleCode(3);
const QString kTaglie = articleCode(5); // an article with variant levels

struct Quantita {
    const char *livello1;
    const char *livello2;
    double qta;
};

struct Esito {
    bool esci = false;
    int16_t righe = -1;
};

Esito converti(scEvaOrdVen &eva, bool ripresa = false)
{
    Esito e;
    EvadoOrdDett(eva, e.esci, e.righe, ripresa);
    return e;
}

int chiamateDi(const char *funzione)
{
    int n = 0;
    for (const auto &c : campiprova::chiamate())
        n += c.funzione == QLatin1String(funzione);
    return n;
}

class EvasioneRighe : public ProvaRighe {
protected:
    // Customer 2 leaves the reference lines to the company's settings: none.
    static constexpr int kSenzaRiferimenti = 2;
    void senzaRiferimenti()
    {
        c.parametro("Fat.StRifOrd", Variant("N"));
        c.parametro("Fat.StRifCli", Variant("N"));
    }
    // A bill of materials that contains its own assembly: releasing the article fails.
    void distintaCiclica(const QString &articolo)
    {
        const QString altro = articleCode(6);
        suite::insertRow(m_q, "ArtLegami", {{"ArticoloPadre", articolo}, {"ArticoloFiglio", altro}, {"Qta", 1.0}, {"UM", "PZ"}});
        suite::insertRow(m_q, "ArtLegami", {{"ArticoloPadre", altro}, {"ArticoloFiglio", articolo}, {"Qta", 1.0}, {"UM", "PZ"}});
        sql(QStringLiteral("UPDATE Articoli SET DistBase = 1 WHERE Articolo IN (?, ?)"), {articolo, altro});
        c.parametro("Ditta.InstDiBa", Variant("S"));
    }
};

TEST_P(EvasioneRighe, AnAutomaticOrderBecomesDocumentLinesWithItsStatesAndCommitments)
{
    // Customer 3 asks for the order reference line.
    suite::OrderInput o;
    o.cliente = 3;
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5},
               {.tipoRiga = "D", .descrizione = "Consegna al piano"},
               {.articolo = kArt2, .qta = 4, .prezzo = 12, .qtaEvasa = 1}};
    const double impegnato1 = impegnato(kArt1), impegnato2 = impegnato(kArt2);
    const int32_t n = ordine(o);
    EXPECT_DOUBLE_EQ(impegnato(kArt1), impegnato1 + 10);
    EXPECT_DOUBLE_EQ(impegnato(kArt2), impegnato2 + 3);

    scEvaOrdVen &eva = motore(n);
    const Esito e = converti(eva);
    ASSERT_FALSE(e.esci) << eva.msErrori.toStdString();
    EXPECT_EQ(e.righe, 4);
    EXPECT_EQ(eva.miNumErrori, 0);

    const auto doc = righeDocumento();
    ASSERT_EQ(doc.size(), 4u);
    EXPECT_EQ(doc[0].tipoRiga, "D");
    EXPECT_EQ(doc[0].notaSopra, QStringLiteral("Ord N. %1 DEL 01/03/2024").arg(n));
    EXPECT_EQ(doc[0].notaSopraStamp, "A");
    EXPECT_EQ(doc[0].flScontoPag, "N");
    EXPECT_TRUE(doc[0].qta.isNull());
    EXPECT_TRUE(doc[0].riepilogativa.isEmpty()); // delivery notes only
    for (size_t i = 0; i < doc.size(); ++i) {
        EXPECT_EQ(doc[i].rigDet, int32_t(i + 1));
        EXPECT_EQ(doc[i].rigLiv, int32_t(i + 1));
    }
    EXPECT_EQ(doc[1].articolo, kArt1);
    EXPECT_DOUBLE_EQ(doc[1].qtaProv.toDouble(), 10);
    EXPECT_EQ(doc[1].rigaRifProv, 1);
    // The description line converts although its quantities are Null.
    EXPECT_EQ(doc[2].tipoRiga, "D");
    EXPECT_EQ(doc[2].rigaRifProv, 2);
    EXPECT_DOUBLE_EQ(doc[3].qtaProv.toDouble(), 3);

    const StatoOrdine r1 = rigaOrdine(n, 1), d = rigaOrdine(n, 2), r3 = rigaOrdine(n, 3);
    EXPECT_DOUBLE_EQ(r1.qtaEvasa.toDouble(), 10);
    EXPECT_EQ(r1.statoRiga, "E");
    EXPECT_EQ(r1.flagStato, "0");
    EXPECT_TRUE(d.qtaEvasa.isNull());
    EXPECT_EQ(d.statoRiga, "");
    EXPECT_EQ(d.flagStato, "0");
    EXPECT_DOUBLE_EQ(r3.qtaEvasa.toDouble(), 4);
    EXPECT_EQ(r3.statoRiga, "E");
    EXPECT_EQ(r3.flagStato, "0");
    EXPECT_DOUBLE_EQ(impegnato(kArt1), impegnato1);
    EXPECT_DOUBLE_EQ(impegnato(kArt2), impegnato2);
    EXPECT_EQ(chiamateDi("ScriviRigaDocumento"), 3);
}

TEST_P(EvasioneRighe, AFailureInTheSecondLineKeepsTheFirstAndUndoesTheSecondWhole)
{
    suite::OrderInput o;
    o.cliente = 3;
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5}, {.articolo = kArt2, .qta = 4, .prezzo = 12}};
    const int32_t n = ordine(o);
    const double impegnato1 = impegnato(kArt1), impegnato2 = impegnato(kArt2);
    // Delivery state lines before each line: each goes with its line.
    scEvaOrdVen &eva = motore(n);
    eva.mbRigDescrEva = true;
    eva.msRigDescrEva = {QString(), QStringLiteral("P"), QStringLiteral("Consegna completa"), QStringLiteral("Parziale")};
    campiprova::guastoAllaChiamata("ScriviRigaDocumento", 2);

    const Esito e = converti(eva);
    EXPECT_TRUE(e.esci);
    EXPECT_EQ(e.righe, 5); // the undone line is still counted
    EXPECT_EQ(eva.miNumErrori, 1);
    EXPECT_ERRORE(eva, "Errore n\u00b03146 : guasto di prova in Ricerca ultimo RigDet e RigLiv di Evasione Ordini");

    const auto doc = righeDocumento();
    ASSERT_EQ(doc.size(), 3u);
    EXPECT_EQ(doc[1].notaSopra, "Consegna completa");
    EXPECT_EQ(doc[2].articolo, kArt1); // the second line's state line undone with it
    EXPECT_DOUBLE_EQ(rigaOrdine(n, 1).qtaEvasa.toDouble(), 10);
    EXPECT_EQ(rigaOrdine(n, 1).flagStato, "0");
    const StatoOrdine r2 = rigaOrdine(n, 2);
    EXPECT_DOUBLE_EQ(r2.qtaEvasa.toDouble(), 0);
    EXPECT_EQ(r2.statoRiga, "");
    EXPECT_EQ(r2.flagStato, "4");
    EXPECT_DOUBLE_EQ(impegnato(kArt1), impegnato1 - 10);
    EXPECT_DOUBLE_EQ(impegnato(kArt2), impegnato2);
}

TEST_P(EvasioneRighe, TheDeliveryStateLineAfterALineGoesWithItsTransaction)
{
    suite::OrderInput o;
    o.cliente = 1; // StRifOrd "O": an order reference line as for "S"
    o.extra = {{"NumDoc", Variant::null()}};
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5}, {.articolo = kArt2, .qta = 10, .prezzo = 12},
               {.articolo = kArt3, .qta = 10, .prezzo = 1}};
    const int32_t n = ordine(o);
    scelta(n, 1, 4, "N");
    scelta(n, 2, 10, "N");
    scelta(n, 3, 5, "N");
    // The third line fails once its document line and its state line are written.
    distintaCiclica(kArt3);
    scEvaOrdVen &eva = motore(n, true);
    eva.msCausaleDiBa = QStringLiteral("DIBA");
    eva.mbRigDescrEva = true;
    eva.msRigDescrEva = {QString(), QStringLiteral("d"), QStringLiteral("Consegna completa"), QStringLiteral("Parziale")};

    const Esito e = converti(eva);
    EXPECT_TRUE(e.esci);
    EXPECT_ERRORE(eva, "Distinta base ciclica");
    EXPECT_EQ(chiamateDi("ScriviRigaDocumento"), 3);
    const auto doc = righeDocumento();
    ASSERT_EQ(doc.size(), 5u);
    EXPECT_EQ(doc[0].notaSopra, QStringLiteral("Ord RIF. N. %1 DEL 01/03/2024").arg(n));
    EXPECT_EQ(doc[1].articolo, kArt1);
    EXPECT_EQ(doc[2].notaSopra, "Parziale"); // 4 of 10: a residual is left
    EXPECT_EQ(doc[2].notaSopraStamp, "A");
    EXPECT_EQ(doc[2].rigDet, 3);
    EXPECT_EQ(doc[3].articolo, kArt2);
    EXPECT_EQ(doc[4].notaSopra, "Consegna completa");
    EXPECT_EQ(rigaOrdine(n, 1).statoRiga, "P");
    EXPECT_EQ(rigaOrdine(n, 3).flagStato, "4");
    EXPECT_DOUBLE_EQ(rigaOrdine(n, 3).qtaEvasa.toDouble(), 0);
}

TEST_P(EvasioneRighe, AnOpenOrderGetsItsDocumentButOnlyItsRunMarkers)
{
    suite::OrderInput o;
    o.cliente = 2; // StRifOrd "T" and "Fat.StRifOrd" "S"
    o.extra = {{"OrdAperto", "s"}};
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5},
               {.articolo = kTaglie, .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}}}};
    const int32_t n = ordine(o);
    const double impegnato1 = impegnato(kArt1), impegnatoS = impegnato(kTaglie, "S", "ROSSO");
    scEvaOrdVen &eva = motore(n);
    ASSERT_EQ(eva.msOrdAperto, "S");

    const Esito e = converti(eva);
    ASSERT_FALSE(e.esci) << eva.msErrori.toStdString();
    EXPECT_EQ(e.righe, 3);
    const auto doc = righeDocumento();
    ASSERT_EQ(doc.size(), 3u);
    EXPECT_DOUBLE_EQ(doc[2].qta.toDouble(), 5);
    EXPECT_EQ(livelliDocumento().size(), 2u);
    for (int rig : {1, 2}) {
        const StatoOrdine s = rigaOrdine(n, rig);
        EXPECT_DOUBLE_EQ(s.qtaEvasa.toDouble(), 0);
        EXPECT_EQ(s.statoRiga, "");
        EXPECT_EQ(s.flagStato, "0");
    }
    const StatoOrdine l = livelloOrdine(n, 2, "S", "ROSSO");
    EXPECT_DOUBLE_EQ(l.qtaEvasa.toDouble(), 0);
    EXPECT_EQ(l.statoRiga, "");
    EXPECT_EQ(l.flagStato, "0");
    EXPECT_DOUBLE_EQ(impegnato(kArt1), impegnato1);
    EXPECT_DOUBLE_EQ(impegnato(kTaglie, "S", "ROSSO"), impegnatoS);
}

TEST_P(EvasioneRighe, ALineWithLevelsGetsOneDocumentLineWithTheirTotals)
{
    senzaRiferimenti();
    suite::OrderInput o;
    o.cliente = kSenzaRiferimenti;
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5},
               {.articolo = kTaglie,
                .prezzo = 20,
                .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}, {"L", "ROSSO", 5, 1}}}};
    const int32_t n = ordine(o);
    const double iS = impegnato(kTaglie, "S", "ROSSO"), iM = impegnato(kTaglie, "M", "BLU"),
                 iL = impegnato(kTaglie, "L", "ROSSO");
    scEvaOrdVen &eva = motore(n);

    const Esito e = converti(eva);
    ASSERT_FALSE(e.esci) << eva.msErrori.toStdString();
    const auto doc = righeDocumento();
    ASSERT_EQ(doc.size(), 2u);
    const RigaDocumento &riga = doc.back();
    EXPECT_EQ(riga.articolo, kTaglie);
    const auto livelli = livelliDocumento();
    ASSERT_EQ(livelli.size(), 3u);
    double totale = 0;
    for (const LivelloDocumento &l : livelli) {
        EXPECT_EQ(l.rigLiv, riga.rigLiv);
        EXPECT_EQ(l.rigLivOrig, 2);
        totale += l.qta;
    }
    EXPECT_DOUBLE_EQ(totale, 9);
    EXPECT_DOUBLE_EQ(riga.qta.toDouble(), 9);
    EXPECT_DOUBLE_EQ(riga.qtaProv.toDouble(), 9);
    EXPECT_DOUBLE_EQ(riga.valTotale.toDouble(), 180);

    const Quantita evase[] = {{"S", "ROSSO", 2}, {"M", "BLU", 3}, {"L", "ROSSO", 5}};
    for (const Quantita &q : evase) {
        const StatoOrdine s = livelloOrdine(n, 2, q.livello1, q.livello2);
        EXPECT_DOUBLE_EQ(s.qtaEvasa.toDouble(), q.qta) << q.livello1;
        EXPECT_EQ(s.statoRiga, "E") << q.livello1;
        EXPECT_EQ(s.flagStato, "0") << q.livello1;
    }
    const StatoOrdine r = rigaOrdine(n, 2);
    EXPECT_DOUBLE_EQ(r.qtaEvasa.toDouble(), 10);
    EXPECT_EQ(r.statoRiga, "E");
    EXPECT_EQ(r.flagStato, "0");
    EXPECT_DOUBLE_EQ(impegnato(kTaglie, "S", "ROSSO"), iS - 2);
    EXPECT_DOUBLE_EQ(impegnato(kTaglie, "M", "BLU"), iM - 3);
    EXPECT_DOUBLE_EQ(impegnato(kTaglie, "L", "ROSSO"), iL - 4);
}

TEST_P(EvasioneRighe, AFailureInTheSecondLevelUndoesTheLineWithAllItsLevels)
{
    senzaRiferimenti();
    suite::OrderInput o;
    o.cliente = kSenzaRiferimenti;
    o.righe = {{.articolo = kTaglie, .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}, {"L", "ROSSO", 5}}}};
    const int32_t n = ordine(o);
    const Quantita livelli[] = {{"S", "ROSSO", 2}, {"M", "BLU", 3}, {"L", "ROSSO", 5}};
    double impegnati[3];
    for (size_t i = 0; i < 3; ++i)
        impegnati[i] = impegnato(kTaglie, livelli[i].livello1, livelli[i].livello2);
    scEvaOrdVen &eva = motore(n);
    campiprova::guastoAllaChiamata("ScriviLivelloDocumento", 2);

    const Esito e = converti(eva);
    EXPECT_TRUE(e.esci);
    EXPECT_ERRORE(eva, "in Evasione dettagli: Creazione dettagli fattura: Creazione livello di Evasione Ordini");
    // Neither the document line nor the level already written stays: the line is as the
    // run's marking left it, to be converted again.
    EXPECT_EQ(rigaOrdine(n, 1).flagStato, "4");
    EXPECT_TRUE(rigaOrdine(n, 1).qtaEvasa.isNull() || rigaOrdine(n, 1).qtaEvasa.toDouble() == 0);
    EXPECT_TRUE(livelliDocumento().empty());
    for (const RigaDocumento &r : righeDocumento())
        EXPECT_NE(r.articolo, kTaglie);
    for (size_t i = 0; i < 3; ++i) {
        const Quantita &q = livelli[i];
        const StatoOrdine s = livelloOrdine(n, 1, q.livello1, q.livello2);
        EXPECT_EQ(s.flagStato, "4") << q.livello1;
        EXPECT_DOUBLE_EQ(s.qtaEvasa.toDouble(), 0) << q.livello1;
        EXPECT_DOUBLE_EQ(impegnato(kTaglie, q.livello1, q.livello2), impegnati[i]) << q.livello1;
    }
}

TEST_P(EvasioneRighe, ALineLeftAtBIsResumedAtItsLevels)
{
    // An interrupted run wrote the document line and its first two levels.
    senzaRiferimenti();
    suite::OrderInput o;
    o.cliente = kSenzaRiferimenti;
    o.righe = {{.articolo = kTaglie, .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}, {"L", "ROSSO", 5}}}};
    const int32_t n = ordine(o);
    sql(QStringLiteral("UPDATE OrdVenDett SET FlagStato = 'B' WHERE Anno = 2024 AND NumRif = ?"), {n});
    sql(QStringLiteral("UPDATE OrdVenLiv SET FlagStato = 'D', QtaEvasa = Qta, StatoRiga = 'E' WHERE Anno = 2024 AND "
                       "NumRif = ? AND Livello1 IN ('S', 'M')"),
        {n});
    sql(QStringLiteral("UPDATE OrdVenLiv SET FlagStato = '4' WHERE Anno = 2024 AND NumRif = ? AND Livello1 = 'L'"), {n});
    suite::insertRow(m_q, "DdtDett",
                     {{"Anno", 2024}, {"NumRif", 1}, {"RigDet", 1}, {"RigLiv", 1}, {"TipoRiga", "A"}, {"Articolo", kTaglie},
                      {"Qta", 2.0}, {"QtaProv", 2.0}, {"TipoProv", "O"}, {"AnnoRifProv", 2024}, {"NumRifProv", n},
                      {"RigaRifProv", 1}});
    const Quantita scritti[] = {{"S", "ROSSO", 2}, {"M", "BLU", 3}};
    for (const Quantita &q : scritti)
        suite::insertRow(m_q, "DdtLiv",
                         {{"Anno", 2024}, {"NumRif", 1}, {"RigLiv", 1}, {"Livello1", q.livello1}, {"Livello2", q.livello2},
                          {"RigLivOrig", 1}, {"Qta", q.qta}, {"QtaProv", q.qta}, {"ValTotale", q.qta * 20},
                          {"FlagStato", "0"}});
    scEvaOrdVen &eva = motore(n);

    const Esito e = converti(eva, true);
    ASSERT_FALSE(e.esci) << eva.msErrori.toStdString();
    EXPECT_EQ(e.righe, 0);
    EXPECT_EQ(chiamateDi("SommaLivelloGiaScritto"), 2);
    EXPECT_EQ(chiamateDi("ScriviLivelloDocumento"), 1);
    EXPECT_EQ(livelliDocumento().size(), 3u);
    const auto doc = righeDocumento();
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_DOUBLE_EQ(doc[0].qta.toDouble(), 10);
    EXPECT_DOUBLE_EQ(doc[0].valTotale.toDouble(), 200);
    const StatoOrdine r = rigaOrdine(n, 1);
    EXPECT_DOUBLE_EQ(r.qtaEvasa.toDouble(), 10);
    EXPECT_EQ(r.statoRiga, "E");
    EXPECT_EQ(r.flagStato, "0");
    EXPECT_EQ(livelloOrdine(n, 1, "S", "ROSSO").flagStato, "0");
    EXPECT_EQ(livelloOrdine(n, 1, "L", "ROSSO").statoRiga, "E");
}

TEST_P(EvasioneRighe, AManualRunDeliversWhatIsPickedAndClosesWhatIsOnlyToBeClosed)
{
    senzaRiferimenti();
    suite::OrderInput o;
    o.cliente = kSenzaRiferimenti;
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5, .qtaEvasa = 3},
               {.articolo = kArt2, .qta = 10, .prezzo = 12},
               {.articolo = kArt3, .qta = 10, .prezzo = 1},
               {.articolo = kTaglie, .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}}},
               {.articolo = kTaglie, .prezzo = 20, .livelli = {{"L", "ROSSO", 4}, {"XL", "BLU", 1}}},
               {.tipoRiga = "D", .descrizione = "Imballo a parte"},
               {.articolo = articleCode(4), .qta = 6, .prezzo = 3}};
    const int32_t n = ordine(o);
    const double i1 = impegnato(kArt1), i2 = impegnato(kArt2), i3 = impegnato(kArt3),
                 iS = impegnato(kTaglie, "S", "ROSSO"), iM = impegnato(kTaglie, "M", "BLU"),
                 iL = impegnato(kTaglie, "L", "ROSSO"), i4 = impegnato(articleCode(4));
    scelta(n, 1, 4e-9, "s");    // nothing to deliver: closed only
    scelta(n, 2, 4, "S");       // part delivered, the rest closed
    scelta(n, 3, 4, "N");       // part delivered
    scelta(n, 4, 0, "S", "S", "ROSSO"); // one level closed, the other delivered: the line is delivered
    scelta(n, 4, 3, "N", "M", "BLU");
    scelta(n, 5, 0, "S", "L", "ROSSO"); // every level closed only: no document line
    scelta(n, 5, 0, "S", "XL", "BLU");
    scelta(n, 6, 0, "S");       // a description line picked to be closed is converted
    scEvaOrdVen &eva = motore(n, true);

    const Esito e = converti(eva);
    ASSERT_FALSE(e.esci) << eva.msErrori.toStdString();
    const auto doc = righeDocumento();
    QStringList lette;
    for (const RigaDocumento &r : doc)
        lette << QStringLiteral("%1:%2").arg(r.tipoRiga, QString::number(r.rigaRifProv));
    EXPECT_EQ(lette, QStringList({"A:2", "A:3", "A:4", "D:6"}));
    EXPECT_EQ(e.righe, 4);
    EXPECT_DOUBLE_EQ(doc[2].qta.toDouble(), 3);
    EXPECT_DOUBLE_EQ(doc[2].qtaProv.toDouble(), 3);
    const auto livelli = livelliDocumento();
    ASSERT_EQ(livelli.size(), 1u);
    EXPECT_EQ(livelli[0].livello1, "M");
    EXPECT_EQ(livelli[0].rigLiv, doc[2].rigLiv);

    const StatoOrdine r1 = rigaOrdine(n, 1), r2 = rigaOrdine(n, 2), r3 = rigaOrdine(n, 3), r4 = rigaOrdine(n, 4),
                      r5 = rigaOrdine(n, 5), r7 = rigaOrdine(n, 7);
    EXPECT_DOUBLE_EQ(r1.qtaEvasa.toDouble(), 3);
    EXPECT_EQ(r1.statoRiga, "E");
    EXPECT_EQ(r1.flagStato, "0");
    EXPECT_DOUBLE_EQ(r2.qtaEvasa.toDouble(), 4);
    EXPECT_EQ(r2.statoRiga, "E");
    EXPECT_DOUBLE_EQ(r3.qtaEvasa.toDouble(), 4);
    EXPECT_EQ(r3.statoRiga, "P");
    EXPECT_DOUBLE_EQ(r4.qtaEvasa.toDouble(), 3);
    EXPECT_EQ(r4.statoRiga, "E");
    EXPECT_EQ(r4.flagStato, "0");
    EXPECT_DOUBLE_EQ(r5.qtaEvasa.toDouble(), 0);
    EXPECT_EQ(r5.statoRiga, "E");
    EXPECT_EQ(r5.flagStato, "0");
    EXPECT_EQ(r7.flagStato, "");
    EXPECT_EQ(livelloOrdine(n, 4, "S", "ROSSO").statoRiga, "E");
    EXPECT_EQ(livelloOrdine(n, 5, "XL", "BLU").statoRiga, "E");
    EXPECT_EQ(livelloOrdine(n, 5, "XL", "BLU").flagStato, "0");

    // Closed lines and levels release their whole remainder; deliveries what they take.
    EXPECT_DOUBLE_EQ(impegnato(kArt1), i1 - 7);
    EXPECT_DOUBLE_EQ(impegnato(kArt2), i2 - 10);
    EXPECT_DOUBLE_EQ(impegnato(kArt3), i3 - 4);
    EXPECT_DOUBLE_EQ(impegnato(kTaglie, "S", "ROSSO"), iS - 2);
    EXPECT_DOUBLE_EQ(impegnato(kTaglie, "M", "BLU"), iM - 3);
    EXPECT_DOUBLE_EQ(impegnato(kTaglie, "L", "ROSSO"), iL - 4);
    EXPECT_DOUBLE_EQ(impegnato(articleCode(4)), i4);
}

TEST_P(EvasioneRighe, ALineOnlyToBeClosedIsClosedWithItsCommitmentOrNotAtAll)
{
    // Releasing the closed line's commitment fails: the line must stay open.
    senzaRiferimenti();
    suite::OrderInput o;
    o.cliente = kSenzaRiferimenti;
    o.righe = {{.articolo = kArt2, .qta = 10, .prezzo = 12, .qtaEvasa = 3}};
    const int32_t n = ordine(o);
    scelta(n, 1, 0, "S");
    distintaCiclica(kArt2);
    const double i2 = impegnato(kArt2);
    scEvaOrdVen &eva = motore(n, true);
    eva.msCausaleDiBa = QStringLiteral("DIBA");

    const Esito e = converti(eva);
    EXPECT_TRUE(e.esci);
    EXPECT_EQ(e.righe, 0);
    EXPECT_ERRORE(eva, "Distinta base ciclica");
    const StatoOrdine r = rigaOrdine(n, 1);
    EXPECT_EQ(r.statoRiga, "P");
    EXPECT_EQ(r.flagStato, "4");
    EXPECT_DOUBLE_EQ(impegnato(kArt2), i2);
}

TEST_P(EvasioneRighe, AnOrderWithNothingSelectedGetsNoLineAtAll)
{
    suite::OrderInput o;
    o.cliente = 3;
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5, .qtaEvasa = 10}};
    const int32_t n = ordine(o);
    scEvaOrdVen &eva = motore(n);
    const Esito e = converti(eva);
    EXPECT_FALSE(e.esci);
    EXPECT_EQ(e.righe, 0);
    EXPECT_TRUE(righeDocumento().empty());
}

TEST_P(EvasioneRighe, AnInvoiceGetsTheOrderBlockWithItsFlags)
{
    suite::OrderInput o;
    o.cliente = 3;
    o.fattDocumento = suite::fx::kOrderTypeToInvoice;
    o.extra = {{"PreDoc", "a"}, {"NumDoc", 12}, {"DataDoc", Date::fromYmd(2024, 2, 20)}, {"RifCli", "Vs. ordine 55"},
               {"LiberoTest1", "Via Po 3"}, {"LiberoTest2", "   "}, {"LiberoTest3", "C-77"}};
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5}};
    const int32_t n = ordine(o);
    c.parametro("Fat.FormatoRigaRifDdt", Variant("RIF"));
    c.parametro("Fat.FormatoRigaLiberi", Variant("LIB"));
    c.personale("EvasioneOrd", "StRigaRifCli", Variant("S"));
    scEvaOrdVen &eva = motore(n, false, true);
    eva.msComeEva = QStringLiteral("U");
    eva.msDescLibTest = {QString(), QStringLiteral("Cantiere"), QStringLiteral("Note"), QStringLiteral("Commessa"),
                         QStringLiteral("Altro")};
    eva.msRigaDaEva = {QString(), QStringLiteral("S"), QStringLiteral("S"), QStringLiteral("s"), QStringLiteral("N")};
    eva.mbRigDescrEva = true; // delivery notes only
    eva.msRigDescrEva = {QString(), QStringLiteral("P"), QStringLiteral("Completa"), QStringLiteral("Parziale")};

    const Esito e = converti(eva);
    ASSERT_FALSE(e.esci) << eva.msErrori.toStdString();
    const auto doc = righeDocumento(true);
    ASSERT_EQ(doc.size(), 4u);
    EXPECT_EQ(doc[0].notaSopra, "Ord N. 12/A DEL 20/02/2024");
    EXPECT_EQ(doc[0].formatoRiga, "RIF");
    EXPECT_EQ(doc[0].flScontoPag, "N");
    EXPECT_EQ(doc[1].notaSopra, "Vs. ordine 55");
    EXPECT_EQ(doc[1].notaSopraStamp, "S");
    EXPECT_EQ(doc[1].flScontoPag, "");
    EXPECT_EQ(doc[2].notaSopra, " Cantiere: Via Po 3 Commessa: C-77");
    EXPECT_EQ(doc[2].formatoRiga, "LIB");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(doc[size_t(i)].riepilogativa, "N") << i;
        EXPECT_EQ(doc[size_t(i)].descPers1, "SSN") << i;
    }
    EXPECT_EQ(doc[3].articolo, kArt1);
}

TEST_P(EvasioneRighe, TheComponentsOfABillOfMaterialsAreReleasedByTheQuantityDelivered)
{
    suite::insertRow(m_q, "ArtLegami", {{"ArticoloPadre", kArt1}, {"ArticoloFiglio", kArt3}, {"Qta", 2.0}, {"UM", "PZ"}});
    sql(QStringLiteral("UPDATE ArticoliProg SET QtaImpCli = 50 WHERE Anno = 2024 AND Articolo = ?"), {kArt3});
    c.parametro("Ditta.InstDiBa", Variant("S"));
    suite::OrderInput o;
    o.cliente = 4;
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5, .qtaEvasa = 4}};
    const int32_t n = ordine(o);
    scEvaOrdVen &eva = motore(n);
    eva.msCausaleDiBa = QStringLiteral("DIBA");

    const Esito e = converti(eva);
    ASSERT_FALSE(e.esci) << eva.msErrori.toStdString();
    EXPECT_DOUBLE_EQ(rigaOrdine(n, 1).qtaEvasa.toDouble(), 10);
    EXPECT_DOUBLE_EQ(impegnato(kArt3), 50 - 6 * 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, EvasioneRighe, kBothEngines, engineParamName);

} // namespace
