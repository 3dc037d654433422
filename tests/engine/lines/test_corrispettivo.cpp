// The cash-sale conversion on both engines: the movement rows of an order's stock lines and
// levels, their amounts net of VAT at the quantity moved, the order's quantities, states and
// commitments, the posting (a recording stand-in), the order's state, and what is left behind
// by an order without stock rows, a lock of another user, a failed posting or a failed level.
#include "blocchi.h"
#include "evasionedettagli.h"
#include "registrazionemovimento.h"
#include "righeprova.h"
#include "rowwriter.h"
#include "utilgenerali.h"

namespace {

using suite::articleCode;

const QString kArt1 = articleCode(1), kArt2 = articleCode(2), kTaglie = articleCode(5);
const QString kNonAMagazzino = articleCode(7);

struct RigaMov {
    int32_t rigReg = 0, rigLiv = 0, rigDoc = 0, rigaRifProv = 0;
    QString articolo, livello1, livello2;
    double fatCon = 0, qta = 0, qtaAggMag = 0, valUnitario = 0, valTotale = 0, valLire = 0, valEuro = 0;
};

struct Registrazione {
    int16_t anno = 0;
    int32_t numReg = 0;
    int32_t numRegLock = 0; // the lock row the key stood on
    QString statoLock;
    int righe = 0;
};

class VenditaCorrispettivo : public ProvaRighe {
protected:
    void SetUp() override
    {
        ProvaRighe::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        gbArrUnitIntermedio = true;
        gsMonetaDitta = suite::fx::kEuro;
        gsOperCambio = QStringLiteral("/");
        gsCambioLiraEuro = suite::fx::kCambioLiraEuro;
        giNumDecImpLire = 0;
        giNumDecImpEuro = 2;
        gsArrotIvaEuro = QStringLiteral("A");
        m_precedente = ImpostaRegistraMovimento([this](int16_t anno, int32_t numReg, QString &chiave) {
            registrazioni.push_back({anno, numReg, ggRecLock().LeggiCampo(chiave, u"NumReg").toLong(), lockMovimento(numReg),
                                     conta(QStringLiteral("MovMagDettApp where NumReg = %1").arg(numReg))});
            return esitoRegistrazione;
        });
    }
    void TearDown() override
    {
        ImpostaRegistraMovimento(std::move(m_precedente));
        ProvaRighe::TearDown();
    }

    // The engine of a cash-sale run on the order, as the run driver leaves it.
    scEvaOrdVen &cassa(int32_t numRif, bool manuale = false)
    {
        scEvaOrdVen &eva = motore(numRif, manuale);
        eva.obEvACorrisp = true;
        eva.otDataEvasione = Date::fromYmd(2024, 5, 10);
        eva.osFattDocOrd = suite::fx::kOrderType;
        eva.msCausaleCorr = QStringLiteral("VEN");
        eva.msDestCorr = QStringLiteral("C");
        eva.msGruppoCliCorr = QStringLiteral("14");
        eva.msMastroCliCorr = QStringLiteral("01");
        eva.msContoCliCorr = QStringLiteral("9999");
        return eva;
    }
    bool converti(scEvaOrdVen &eva)
    {
        bool esci = false;
        EvadeDettCorrisp(eva, esci, false);
        return esci;
    }

    Variant campo(const QString &sql, QStringView nome)
    {
        GestRecordset rs;
        const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, sql);
        return rs.NessunRecord(a) ? Variant() : rs.ValoreCampo(a, nome);
    }
    int conta(const QString &da) { return campo("Select Count(*) As N from " + da, u"N").toInteger(); }
    // Stato of the movement's lock row, "(nessuno)" without one.
    QString lockMovimento(int32_t numReg)
    {
        const Variant s =
            campo(QStringLiteral("Select * from LockGest where Tipo = 'M' and Anno = 2024 and NumReg = %1").arg(numReg),
                  u"Stato");
        return s.isEmpty() ? QStringLiteral("(nessuno)") : s.text();
    }
    QString statoOrdine(int32_t numRif)
    {
        return campo(QStringLiteral("Select Stato from OrdVenTest where Anno = 2024 and NumRif = %1").arg(numRif),
                     u"Stato")
            .text();
    }

    // The movement's rows (`tabella` "MovMagDettApp" or "MovMagLivApp").
    std::vector<RigaMov> righe(int32_t numReg, const QString &tabella = QStringLiteral("MovMagDettApp"))
    {
        GestRecordset rs;
        const bool dett = tabella == QLatin1String("MovMagDettApp");
        const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                                  QStringLiteral("Select * from %1 where Anno = 2024 and NumReg = %2 order by %3")
                                      .arg(tabella)
                                      .arg(numReg)
                                      .arg(dett ? QStringLiteral("RigReg") : QStringLiteral("RigLiv, Livello1")));
        std::vector<RigaMov> out;
        for (; !rs.Eof(a); rs.MoveNext(a)) {
            const auto n = [&](QStringView nome) { return UtilGenerali::ValoreNumerico(rs.ValoreCampo(a, nome)); };
            RigaMov r;
            r.rigLiv = rs.LeggiCampo(a, u"RigLiv").toLong();
            r.articolo = rs.LeggiCampo(a, u"Articolo").text();
            r.fatCon = n(u"FatCon");
            r.qta = n(u"Qta");
            r.qtaAggMag = n(u"QtaAggMag");
            r.valUnitario = n(u"ValUnitario");
            r.valTotale = n(u"ValTotale");
            r.valLire = n(u"ValLire");
            r.valEuro = n(u"ValEuro");
            if (dett) {
                r.rigReg = rs.LeggiCampo(a, u"RigReg").toLong();
                r.rigDoc = rs.LeggiCampo(a, u"RigDoc").toLong();
                r.rigaRifProv = rs.LeggiCampo(a, u"RigaRifProv").toLong();
            } else {
                r.livello1 = rs.LeggiCampo(a, u"Livello1").text();
                r.livello2 = rs.LeggiCampo(a, u"Livello2").text();
            }
            out.push_back(r);
        }
        return out;
    }

    std::vector<Registrazione> registrazioni;
    EsitoPosting esitoRegistrazione;

private:
    RegistraMovimento m_precedente;
};

TEST_P(VenditaCorrispettivo, AnOrderBecomesOneMovementWithARowPerStockLinePostedOnce)
{
    suite::OrderInput o;
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5},
               {.tipoRiga = "D", .descrizione = "Consegna al banco"},
               {.articolo = kNonAMagazzino, .qta = 2, .prezzo = 5},
               {.articolo = kArt2, .qta = 4, .prezzo = 12, .qtaEvasa = 1}};
    const int32_t n = ordine(o);
    const double impegnato1 = impegnato(kArt1), impegnato2 = impegnato(kArt2);
    scEvaOrdVen &eva = cassa(n);

    ASSERT_FALSE(converti(eva)) << eva.msErrori.toStdString();
    EXPECT_EQ(eva.miNumErrori, 0);
    const auto mov = righe(eva.mlNumRegMov);
    ASSERT_EQ(mov.size(), 2u);
    // Numbered without gaps; each row points back to its order line.
    EXPECT_EQ(mov[0].rigReg, 1);
    EXPECT_EQ(mov[0].rigLiv, 1);
    EXPECT_EQ(mov[0].rigDoc, 1);
    EXPECT_EQ(mov[0].rigaRifProv, 1);
    EXPECT_EQ(mov[0].articolo, kArt1);
    EXPECT_DOUBLE_EQ(mov[0].qta, 10);
    EXPECT_DOUBLE_EQ(mov[0].qtaAggMag, 10);
    EXPECT_DOUBLE_EQ(mov[0].valTotale, 25);
    EXPECT_DOUBLE_EQ(mov[0].valEuro, 25);
    EXPECT_DOUBLE_EQ(mov[0].valLire, 48407);
    EXPECT_DOUBLE_EQ(mov[0].valUnitario, 2.5);
    // A line delivered in part before: what is left moves, at its unit price.
    EXPECT_EQ(mov[1].rigReg, 2);
    EXPECT_EQ(mov[1].rigLiv, 4);
    EXPECT_EQ(mov[1].rigDoc, 4);
    EXPECT_DOUBLE_EQ(mov[1].qta, 3);
    EXPECT_DOUBLE_EQ(mov[1].valTotale, 36);
    EXPECT_DOUBLE_EQ(mov[1].valLire, 69706);

    EXPECT_EQ(rigaOrdine(n, 1).statoRiga, "E");
    EXPECT_DOUBLE_EQ(rigaOrdine(n, 1).qtaEvasa.toDouble(), 10);
    EXPECT_EQ(rigaOrdine(n, 2).flagStato, "0");
    EXPECT_TRUE(rigaOrdine(n, 2).qtaEvasa.isNull());
    // A line that moves no stock is fulfilled all the same.
    EXPECT_EQ(rigaOrdine(n, 3).statoRiga, "E");
    EXPECT_DOUBLE_EQ(rigaOrdine(n, 3).qtaEvasa.toDouble(), 2);
    EXPECT_DOUBLE_EQ(rigaOrdine(n, 4).qtaEvasa.toDouble(), 4);
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(rigaOrdine(n, r).flagStato, "0");
    EXPECT_DOUBLE_EQ(impegnato(kArt1), impegnato1 - 10);
    EXPECT_DOUBLE_EQ(impegnato(kArt2), impegnato2 - 3);

    ASSERT_EQ(registrazioni.size(), 1u);
    EXPECT_EQ(registrazioni[0].anno, 2024);
    EXPECT_EQ(registrazioni[0].numReg, eva.mlNumRegMov);
    EXPECT_EQ(registrazioni[0].numRegLock, eva.mlNumRegMov);
    EXPECT_EQ(registrazioni[0].statoLock, "3");
    EXPECT_EQ(registrazioni[0].righe, 2);
    // Posted: the header stays, its lock is released, the order is fulfilled.
    EXPECT_EQ(conta("MovMagTes"), 1);
    EXPECT_EQ(lockMovimento(eva.mlNumRegMov), "(nessuno)");
    EXPECT_EQ(statoOrdine(n), "E");
}

TEST_P(VenditaCorrispettivo, AMovementRowCarriesItsAmountNetOfVatAndItsStockQuantity)
{
    struct Caso {
        const char *nome;
        bool ivati;
        double qta, prezzo, qtaEvasa;
        const char *sconto;
        double fatCon;
        double qtaMov, qtaAggMag, valTotale, valUnitario;
    };
    const Caso casi[] = {
        {"IVA inclusa 122 -> 100", true, 1, 122, 0, "", 1, 1, 1, 100, 100},
        {"IVA inclusa, valore unitario dal netto", true, 4, 30.5, 0, "", 2.5, 4, 10, 100, 25},
        {"fattore di conversione nullo", false, 4, 3, 0, "", 0, 4, 4, 12, 3},
        {"ricalcolo con sconto in cascata", false, 4, 10, 1, "10+5", 1, 3, 3, 25.65, 8.55},
        {"ricalcolo con IVA inclusa", true, 4, 30.5, 2, "", 1, 2, 2, 50, 25},
    };
    for (const Caso &k : casi) {
        SCOPED_TRACE(k.nome);
        suite::OrderInput o;
        o.extra = {{"PrezziIvati", k.ivati ? "S" : "N"}};
        o.righe = {{.articolo = kArt1, .qta = k.qta, .prezzo = k.prezzo, .sconto = k.sconto, .qtaEvasa = k.qtaEvasa,
                    .extra = {{"FatCon", k.fatCon}}}};
        scEvaOrdVen &eva = cassa(ordine(o));
        ASSERT_FALSE(converti(eva)) << eva.msErrori.toStdString();
        const auto mov = righe(eva.mlNumRegMov);
        ASSERT_EQ(mov.size(), 1u);
        EXPECT_DOUBLE_EQ(mov[0].qta, k.qtaMov);
        EXPECT_DOUBLE_EQ(mov[0].fatCon, k.fatCon > 0 ? k.fatCon : 1);
        EXPECT_DOUBLE_EQ(mov[0].qtaAggMag, k.qtaAggMag);
        EXPECT_DOUBLE_EQ(mov[0].valTotale, k.valTotale);
        EXPECT_DOUBLE_EQ(mov[0].valEuro, k.valTotale);
        EXPECT_DOUBLE_EQ(mov[0].valUnitario, k.valUnitario);
    }
}

TEST_P(VenditaCorrispettivo, LevelsGiveLevelRowsAndTheLineTheirNetTotalsAtTheQuantityMoved)
{
    suite::OrderInput o;
    o.extra = {{"PrezziIvati", "S"}};
    o.righe = {{.articolo = kTaglie, .prezzo = 12.2, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}}}};
    const int32_t n = ordine(o);
    const double impegnatoS = impegnato(kTaglie, "S", "ROSSO"), impegnatoM = impegnato(kTaglie, "M", "BLU");
    scEvaOrdVen &eva = cassa(n);
    ASSERT_FALSE(converti(eva)) << eva.msErrori.toStdString();

    const auto liv = righe(eva.mlNumRegMov, QStringLiteral("MovMagLivApp"));
    ASSERT_EQ(liv.size(), 2u);
    EXPECT_EQ(liv[0].livello1, "M");
    EXPECT_DOUBLE_EQ(liv[0].qta, 3);
    EXPECT_DOUBLE_EQ(liv[0].valTotale, 30); // 36.60 with VAT
    EXPECT_DOUBLE_EQ(liv[0].valUnitario, 10);
    EXPECT_EQ(liv[1].livello1, "S");
    EXPECT_DOUBLE_EQ(liv[1].qta, 2);
    EXPECT_DOUBLE_EQ(liv[1].qtaAggMag, 2);
    EXPECT_DOUBLE_EQ(liv[1].valTotale, 20);
    const auto mov = righe(eva.mlNumRegMov);
    ASSERT_EQ(mov.size(), 1u);
    EXPECT_DOUBLE_EQ(mov[0].qta, 5);
    EXPECT_DOUBLE_EQ(mov[0].qtaAggMag, 5);
    EXPECT_DOUBLE_EQ(mov[0].valTotale, 50);
    EXPECT_DOUBLE_EQ(mov[0].valEuro, 50);
    EXPECT_DOUBLE_EQ(mov[0].valLire, liv[0].valLire + liv[1].valLire);

    EXPECT_EQ(livelloOrdine(n, 1, "S", "ROSSO").statoRiga, "E");
    EXPECT_EQ(livelloOrdine(n, 1, "M", "BLU").flagStato, "0");
    EXPECT_DOUBLE_EQ(rigaOrdine(n, 1).qtaEvasa.toDouble(), 5);
    EXPECT_EQ(rigaOrdine(n, 1).statoRiga, "E");
    EXPECT_EQ(rigaOrdine(n, 1).flagStato, "0");
    EXPECT_DOUBLE_EQ(impegnato(kTaglie, "S", "ROSSO"), impegnatoS - 2);
    EXPECT_DOUBLE_EQ(impegnato(kTaglie, "M", "BLU"), impegnatoM - 3);
    EXPECT_EQ(registrazioni.size(), 1u);

    // A pick of part of a level moves that part at its share of the value.
    suite::OrderInput p = o;
    const int32_t m = ordine(p);
    scelta(m, 1, 2, "N", "S", "ROSSO");
    scelta(m, 1, 1, "N", "M", "BLU");
    scEvaOrdVen &manuale = cassa(m, true);
    ASSERT_FALSE(converti(manuale)) << manuale.msErrori.toStdString();
    const auto parte = righe(manuale.mlNumRegMov, QStringLiteral("MovMagLivApp"));
    ASSERT_EQ(parte.size(), 2u);
    EXPECT_DOUBLE_EQ(parte[0].qta, 1);
    EXPECT_DOUBLE_EQ(parte[0].valTotale, 10);
    const auto riga = righe(manuale.mlNumRegMov);
    EXPECT_DOUBLE_EQ(riga[0].qta, 3);
    EXPECT_DOUBLE_EQ(riga[0].valTotale, 30);
    EXPECT_EQ(livelloOrdine(m, 1, "M", "BLU").statoRiga, "P");
    EXPECT_EQ(rigaOrdine(m, 1).statoRiga, "P");
    EXPECT_EQ(statoOrdine(m), "P");
}

TEST_P(VenditaCorrispettivo, ManualPicksMoveWhatIsStagedAndTheOrderStateFollowsItsOpenLines)
{
    suite::OrderInput o;
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5},
               {.articolo = kArt2, .qta = 5, .prezzo = 12},
               {.articolo = articleCode(3), .qta = 4, .prezzo = 1}};
    const int32_t n = ordine(o);
    const double impegnato3 = impegnato(articleCode(3));
    scelta(n, 1, 12, "N"); // more than ordered
    scelta(n, 2, 2, "N");
    scelta(n, 3, 1, "S"); // less, closed to balance
    scEvaOrdVen &eva = cassa(n, true);
    ASSERT_FALSE(converti(eva)) << eva.msErrori.toStdString();

    const auto mov = righe(eva.mlNumRegMov);
    ASSERT_EQ(mov.size(), 3u);
    EXPECT_DOUBLE_EQ(mov[0].qta, 12);
    EXPECT_DOUBLE_EQ(mov[0].qtaAggMag, 12);
    EXPECT_DOUBLE_EQ(mov[0].valTotale, 30);
    EXPECT_DOUBLE_EQ(rigaOrdine(n, 1).qtaEvasa.toDouble(), 10);
    EXPECT_EQ(rigaOrdine(n, 1).statoRiga, "E");
    EXPECT_EQ(rigaOrdine(n, 2).statoRiga, "P");
    EXPECT_EQ(rigaOrdine(n, 3).statoRiga, "E");
    EXPECT_DOUBLE_EQ(impegnato(articleCode(3)), impegnato3 - 4);
    EXPECT_EQ(statoOrdine(n), "P");
}

TEST_P(VenditaCorrispettivo, AnOpenOrderMovesStockButKeepsItsQuantitiesAndItsState)
{
    suite::OrderInput o;
    o.extra = {{"OrdAperto", "S"}};
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5},
               {.articolo = kTaglie, .prezzo = 20, .livelli = {{"S", "ROSSO", 2}}}};
    const int32_t n = ordine(o);
    const double impegnato1 = impegnato(kArt1);
    scEvaOrdVen &eva = cassa(n);
    ASSERT_FALSE(converti(eva)) << eva.msErrori.toStdString();
    EXPECT_EQ(righe(eva.mlNumRegMov).size(), 2u);
    EXPECT_EQ(righe(eva.mlNumRegMov, QStringLiteral("MovMagLivApp")).size(), 1u);
    EXPECT_DOUBLE_EQ(rigaOrdine(n, 1).qtaEvasa.toDouble(), 0);
    EXPECT_EQ(rigaOrdine(n, 1).flagStato, "0");
    EXPECT_EQ(livelloOrdine(n, 2, "S", "ROSSO").flagStato, "0");
    EXPECT_DOUBLE_EQ(impegnato(kArt1), impegnato1);
    EXPECT_EQ(statoOrdine(n), "");
    EXPECT_EQ(registrazioni.size(), 1u);
    EXPECT_EQ(lockMovimento(eva.mlNumRegMov), "(nessuno)");
}

TEST_P(VenditaCorrispettivo, AnOrderWithoutStockRowsLeavesNoHeaderAndNoLock)
{
    suite::OrderInput o;
    o.righe = {{.tipoRiga = "D", .descrizione = "Servizio"},
               {.articolo = kNonAMagazzino, .qta = 2, .prezzo = 5},
               {.articolo = kTaglie, .prezzo = 20, .tipoRiga = "M", .livelli = {{"S", "ROSSO", 2}}}};
    const int32_t n = ordine(o);
    scEvaOrdVen &eva = cassa(n);
    ASSERT_FALSE(converti(eva)) << eva.msErrori.toStdString();
    EXPECT_EQ(eva.miNumErrori, 0);
    EXPECT_TRUE(registrazioni.empty());
    EXPECT_EQ(conta("MovMagTes"), 0);
    EXPECT_EQ(conta("MovMagLivApp"), 0);
    EXPECT_EQ(conta("LockGest where Tipo = 'M'"), 0);
    EXPECT_TRUE(eva.msAliasLockMov.isEmpty());
    // Its lines are fulfilled all the same, and so is the order.
    EXPECT_EQ(rigaOrdine(n, 2).statoRiga, "E");
    EXPECT_EQ(livelloOrdine(n, 3, "S", "ROSSO").statoRiga, "E");
    EXPECT_EQ(rigaOrdine(n, 3).statoRiga, "E");
    EXPECT_EQ(statoOrdine(n), "E");

    // An order with nothing left to convert: no movement, and its state as it was.
    suite::OrderInput evaso;
    evaso.righe = {{.articolo = kArt1, .qta = 3, .prezzo = 1, .qtaEvasa = 3}};
    const int32_t m = ordine(evaso);
    sql(QStringLiteral("UPDATE OrdVenTest SET Stato = 'P' WHERE NumRif = ?"), {m});
    scEvaOrdVen &vuoto = cassa(m);
    ASSERT_FALSE(converti(vuoto)) << vuoto.msErrori.toStdString();
    EXPECT_EQ(conta("MovMagTes"), 0);
    EXPECT_EQ(conta("LockGest where Tipo = 'M'"), 0);
    EXPECT_EQ(statoOrdine(m), "P");
}

TEST_P(VenditaCorrispettivo, AnotherUsersMovementLockIsReportedAndLeftAlone)
{
    suite::insertRow(m_q, "LockGest", {{"Tipo", "M"}, {"Anno", int16_t{2024}}, {"NumReg", 1}, {"Utente", "luigi"},
                                       {"Stato", "0"}});
    suite::OrderInput o;
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5}};
    const int32_t n = ordine(o);
    scEvaOrdVen &eva = cassa(n);
    EXPECT_TRUE(converti(eva));
    EXPECT_ERRORE(eva, "Movimento di magazzino n.reg 1 anno 2024 in uso da luigi");
    EXPECT_EQ(conta("MovMagTes"), 0);
    EXPECT_EQ(conta("MovMagDettApp"), 0);
    EXPECT_EQ(campo("Select Utente from LockGest where Tipo = 'M'", u"Utente").text(), "luigi");
    EXPECT_TRUE(registrazioni.empty());
    EXPECT_DOUBLE_EQ(rigaOrdine(n, 1).qtaEvasa.toDouble(), 0);
}

TEST_P(VenditaCorrispettivo, APostingThatFailsKeepsTheMovementAndItsLockForTheRecovery)
{
    esitoRegistrazione.numero = 3260;
    esitoRegistrazione.descrizione = QStringLiteral("Record bloccato da un altro utente");
    suite::OrderInput o;
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5}};
    const int32_t n = ordine(o);
    scEvaOrdVen &eva = cassa(n);
    EXPECT_TRUE(converti(eva));
    EXPECT_ERRORE(eva, "Errore n\u00b03260 : Record bloccato da un altro utente");
    EXPECT_EQ(registrazioni.size(), 1u);
    EXPECT_EQ(conta("MovMagDettApp"), 1);
    EXPECT_EQ(lockMovimento(eva.mlNumRegMov), "3");
    EXPECT_EQ(statoOrdine(n), "");
}

TEST_P(VenditaCorrispettivo, AFailedLevelUndoesItsLineWholeAndNothingIsPosted)
{
    suite::OrderInput o;
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5},
               {.articolo = kTaglie, .prezzo = 10, .livelli = {{"S", "ROSSO", 2}}}};
    const int32_t n = ordine(o);
    // A work row left on the level's key: its row cannot be stored.
    suite::insertRow(m_q, "MovMagLivApp", {{"Anno", int16_t{2024}}, {"NumReg", 1}, {"RigLiv", 2}, {"Livello1", "S"},
                                           {"Livello2", "ROSSO"}});
    const double impegnato1 = impegnato(kArt1), impegnatoS = impegnato(kTaglie, "S", "ROSSO");
    scEvaOrdVen &eva = cassa(n);
    EXPECT_TRUE(converti(eva));
    EXPECT_EQ(eva.miNumErrori, 1);
    EXPECT_ERRORE(eva, "Creazione livello");
    // The first line stands; the second is undone with its own row and its levels.
    EXPECT_EQ(rigaOrdine(n, 1).statoRiga, "E");
    EXPECT_DOUBLE_EQ(impegnato(kArt1), impegnato1 - 10);
    EXPECT_EQ(rigaOrdine(n, 2).flagStato, "4");
    EXPECT_EQ(livelloOrdine(n, 2, "S", "ROSSO").flagStato, "4");
    EXPECT_DOUBLE_EQ(livelloOrdine(n, 2, "S", "ROSSO").qtaEvasa.toDouble(), 0);
    EXPECT_DOUBLE_EQ(impegnato(kTaglie, "S", "ROSSO"), impegnatoS);
    EXPECT_EQ(conta("MovMagDettApp"), 1);
    EXPECT_EQ(conta("MovMagLivApp"), 1); // the row that was in the way
    // Not posted: the movement and its lock wait for the recovery.
    EXPECT_TRUE(registrazioni.empty());
    EXPECT_EQ(lockMovimento(1), "0");
    EXPECT_EQ(statoOrdine(n), "");
}

TEST_P(VenditaCorrispettivo, WithTheStockPostingTheMovementReachesTheProgressives)
{
    ImpostaRegistraMovimento({});
    suite::OrderInput o;
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5},
               {.articolo = kTaglie, .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}}}};
    const int32_t n = ordine(o);
    const auto scaricato = [&](const QString &articolo, const QString &l1, const QString &l2) {
        return UtilGenerali::ValoreNumerico(campo(
            QStringLiteral("Select QtaScarico from ArticoliProg where Anno = 2024 and Magazzino = '01' and Articolo = "
                           "%1 and Livello1 = %2 and Livello2 = %3")
                .arg(UtilGenerali::SqlValore(Variant(articolo), 8), UtilGenerali::SqlValore(Variant(l1), 8),
                     UtilGenerali::SqlValore(Variant(l2), 8)),
            u"QtaScarico"));
    };
    const QString vuoto = suite::fx::kNoLevel;
    const double prima1 = scaricato(kArt1, vuoto, vuoto), primaS = scaricato(kTaglie, "S", "ROSSO");
    scEvaOrdVen &eva = cassa(n);
    ASSERT_FALSE(converti(eva)) << eva.msErrori.toStdString();

    const QString movimento = QStringLiteral(" where Anno = 2024 and NumReg = %1").arg(eva.mlNumRegMov);
    EXPECT_EQ(conta("MovMagDett" + movimento), 2);
    EXPECT_EQ(conta("MovMagLiv" + movimento), 2);
    EXPECT_EQ(conta("MovMagDettApp"), 0);
    EXPECT_EQ(conta("MovMagLivApp"), 0);
    EXPECT_DOUBLE_EQ(scaricato(kArt1, vuoto, vuoto), prima1 + 10);
    EXPECT_DOUBLE_EQ(scaricato(kTaglie, "S", "ROSSO"), primaS + 2);
    EXPECT_EQ(lockMovimento(eva.mlNumRegMov), "(nessuno)");
    EXPECT_EQ(statoOrdine(n), "E");
}

INSTANTIATE_TEST_SUITE_P(Engines, VenditaCorrispettivo, kBothEngines, engineParamName);

} // namespace
