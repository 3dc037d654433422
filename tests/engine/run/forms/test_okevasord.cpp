// OK of the fulfilment dialog: each refusal in its order, the checked field being edited, the
// copy of the request into the engine and the hand-over to the manual picking; an error inside
// OK leaves the dialog usable.
#include "colori.h"
#include "contesto.h"
#include "dialogoevasione.h"
#include "puntatore.h"
#include "scevaordven.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

namespace {

const QString kDueTipi = QStringLiteral("Vanno specificati i due tipi di documento (da evadere e d'evasione) \r\n"
                                        "oppure, per l'evasione con corrispettivo, è obbligatorio il tipo documento da "
                                        "evadere.");
const QString kMagazzino = QStringLiteral(
    "Attenzione questa evasione non farà lo scarico degli articoli di magazzino.\r\nVuoi Continuare?");
const QString kDopoLavoro = QStringLiteral("La data evasione non può essere sucessiva a 30/06/2024");
const QString kDataDocumento =
    QStringLiteral("Non si possono evadere Ordini con data documento successiva alla data evasione");

struct Rifiuto {
    const char *nome;
    std::function<void(DialogoEvasione &, ContestoDiProva &)> prepara;
    QStringList messaggi; // shown by OK, in order
    std::deque<int> risposte{};
};

class OkEvasione : public DialogoEvasione {
public:
    // Gives the protected helpers to the table's preparations.
    using DialogoEvasione::scrivi;
    frmEvasOrd &dialogo() { return *form; }
};

void corrispettivo(frmEvasOrd &f) { f.CheCorrispettivo->click(); }

TEST_F(OkEvasione, RefusesInTheOrderOfItsChecks)
{
    using D = DialogoEvasione;
    auto scrivi = [](D &d, int i, const QString &t) { static_cast<OkEvasione &>(d).scrivi(i, t); };
    auto f = [](D &d) -> frmEvasOrd & { return static_cast<OkEvasione &>(d).dialogo(); };
    const Rifiuto casi[] = {
        {"margine, anche senza data",
         [&](D &d, ContestoDiProva &) {
             scrivi(d, 20, "OCM");
             scrivi(d, 30, "FAT");
             scrivi(d, 10, "");
         },
         {"Tipi documento con diversa gestione del regime del margine"}},
        {"data vuota", [&](D &d, ContestoDiProva &) { scrivi(d, 10, ""); }, {"La data evasione è obbligatoria"}},
        {"esercizio precedente", [&](D &d, ContestoDiProva &) { scrivi(d, 10, "15/03/2022"); },
         {"Data evasione precedente all'esercizio"}},
        {"esercizio successivo", [&](D &d, ContestoDiProva &) { scrivi(d, 10, "02/01/2026"); },
         {"Data evasione successiva all'esercizio"}},
        {"esercizio illeggibile", [&](D &, ContestoDiProva &ctx) { ctx.parametro("Mag.DataInizio", "mai"); },
         {"Data evasione di un esercizio errato (O errore nel controllo data esercizio)"}},
        {"corrispettivo con due tipi",
         [&](D &d, ContestoDiProva &) {
             corrispettivo(f(d));
             scrivi(d, 30, "DDT");
         },
         {"Per evadere con corrispettivo è necessario sbiancare il Doc. di evasione"}},
        {"tipo d'evasione vuoto", [&](D &d, ContestoDiProva &) { scrivi(d, 30, ""); },
         {"E' possibile avere il Doc. di evasione sbiancato solo con l'evasione con corrispettivo"}},
        {"tipo ordine vuoto, con corrispettivo",
         [&](D &d, ContestoDiProva &) {
             corrispettivo(f(d));
             scrivi(d, 20, "");
         },
         {kDueTipi}},
        {"magazzino: No", [&](D &d, ContestoDiProva &) { corrispettivo(f(d)); }, {kMagazzino}, {2}},
        {"magazzino: Si",
         [&](D &d, ContestoDiProva &) {
             corrispettivo(f(d));
             scrivi(d, 10, "01/07/2024");
         },
         {kMagazzino, kDopoLavoro},
         {1}},
        {"magazzino: tipo con causale di rientro",
         [&](D &d, ContestoDiProva &) {
             scrivi(d, 20, "OCR");
             corrispettivo(f(d));
             scrivi(d, 10, "01/07/2024");
         },
         {kDopoLavoro}},
        {"magazzino non installato",
         [&](D &d, ContestoDiProva &ctx) {
             ctx.parametro("Ditta.InstMaga", "N");
             corrispettivo(f(d));
             scrivi(d, 10, "01/07/2024");
         },
         {kDopoLavoro}},
        {"clienti",
         [&](D &d, ContestoDiProva &) {
             scrivi(d, 40, "14010005");
             scrivi(d, 50, "14010002");
             scrivi(d, 200, suite::articleCode(5));
             scrivi(d, 210, suite::articleCode(2));
         },
         {"Si prega di inserire i codici cliente in ordine crescente"}},
        {"riferimento dopo l'evasione", [&](D &d, ContestoDiProva &) { scrivi(d, 60, "01/07/2024"); }, {kDataDocumento}},
        {"articoli",
         [&](D &d, ContestoDiProva &) {
             scrivi(d, 200, suite::articleCode(5));
             scrivi(d, 210, suite::articleCode(2));
             scrivi(d, 220, "10/06/2024");
             scrivi(d, 230, "01/06/2024");
         },
         {"Si prega di inserire i codici articolo in ordine crescente"}},
        {"consegna",
         [&](D &d, ContestoDiProva &) {
             scrivi(d, 220, "10/06/2024");
             scrivi(d, 230, "01/06/2024");
         },
         {"Si prega di inserire le date di consegna in ordine crescente"}},
        {"date di riferimento",
         [&](D &d, ContestoDiProva &) {
             scrivi(d, 60, "10/06/2024");
             scrivi(d, 70, "01/06/2024");
         },
         {"Si prega di inserire le date di inserimento in ordine crescente"}},
        {"numeri di riferimento",
         [&](D &d, ContestoDiProva &) {
             scrivi(d, 80, "10");
             scrivi(d, 90, "9");
         },
         {"Si prega di inserire i numeri di inserimento in ordine crescente"}},
        {"documento dopo l'evasione", [&](D &d, ContestoDiProva &) { scrivi(d, 110, "01/07/2024"); }, {kDataDocumento}},
        {"date documento",
         [&](D &d, ContestoDiProva &) {
             scrivi(d, 100, "10/06/2024");
             scrivi(d, 110, "01/06/2024");
         },
         {"Si prega di inserire le date ordini in ordine crescente"}},
        {"numeri documento",
         [&](D &d, ContestoDiProva &) {
             scrivi(d, 130, "10");
             scrivi(d, 150, "9");
         },
         {"Si prega di inserire i numeri documento in ordine crescente"}},
        {"campo rosso", [&](D &d, ContestoDiProva &) { scrivi(d, 230, "32/13/2024"); }, {"Data Errata o Campo Errato"}},
    };
    for (const Rifiuto &k : casi) {
        SCOPED_TRACE(k.nome);
        c->parametro("Mag.DataInizio", "01/01/2024");
        c->parametro("Ditta.InstMaga", "S");
        nuovoDialogo();
        k.prepara(*this, *c);
        messaggi->testi.clear();
        risposte = k.risposte;
        form->ComOk_Click();
        EXPECT_EQ(messaggi->testi, k.messaggi);
        EXPECT_EQ(manuale.chiamate, 0);
        EXPECT_EQ(MousePointer(), kPuntatorePredefinito);
    }
}

TEST_F(OkEvasione, ADifferingMarginSchemeIsRefusedBeforeTheEngineExists)
{
    scrivi(20, "OCM");
    scrivi(30, "FAT");
    form->ComOk_Click();
    EXPECT_FALSE(form->motore());
}

TEST_F(OkEvasione, TheRegistrationDateToTakesTheFulfilmentDateAndKeepsIt)
{
    scrivi(10, "20/06/2024");
    scrivi(40, "14010005");
    scrivi(50, "14010002");
    form->ComOk_Click();
    EXPECT_EQ(messaggi->testi, QStringList{"Si prega di inserire i codici cliente in ordine crescente"});
    EXPECT_EQ(form->txt[70]->text(), "20/06/2024");
    ASSERT_TRUE(form->motore());
    EXPECT_EQ(form->motore()->otDataEvasione, Date::fromYmd(2024, 6, 20));
    EXPECT_EQ(form->motore()->oiAnno, 2024);
    EXPECT_TRUE(form->motore()->osFattDocOrd.isEmpty()); // nothing copied yet
}

TEST_F(OkEvasione, AWrongFieldGetsTheFocusAndNothingIsCopied)
{
    giSuonoAvviso = 1;
    scrivi(100, "31/02/2024");
    form->ComOk_Click();
    ASSERT_EQ(messaggi->richieste.size(), 1u);
    const RichiestaMsgCom &r = messaggi->richieste.front();
    EXPECT_EQ(r.psLabel, "Data Errata o Campo Errato");
    EXPECT_EQ(r.psCom1, "&Ok");
    EXPECT_TRUE(r.pbSuona);
    EXPECT_EQ(r.pvFontSize.toInteger(), 12);
    EXPECT_EQ(QApplication::focusWidget(), form->txt[100]);
    EXPECT_TRUE(form->motore()->osTipoDocEva.isEmpty());
}

// OK pressed by its key while a field is being edited: the field is checked first, so a wrong
// date is refused instead of being dropped from the request.
TEST_F(OkEvasione, OkByItsKeyChecksTheFieldBeingEdited)
{
    form->txt[230]->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(form->txt[230], "32/13/2024");
    QTest::keyClick(form, Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !messaggi->testi.isEmpty(); }));
    EXPECT_EQ(messaggi->testi, QStringList{"Data Errata o Campo Errato"});
    EXPECT_EQ(BackColor(form->txt[230]), glColErrore);
    EXPECT_EQ(manuale.chiamate, 0);
}

TEST_F(OkEvasione, TheManualRequestGoesToThePickingFormWithEveryCriterion)
{
    const std::pair<int, const char *> campi[] = {
        {190, "Euro"},     {40, "14010001"},   {50, "14010004"},   {200, "ART00001"},  {210, "ART00008"},
        {220, "1/6/2024"}, {230, "30/06/2024"}, {60, "01/01/2024"}, {70, "29/06/2024"}, {80, "1"},
        {90, "50"},        {100, "02/01/2024"}, {110, "28/06/2024"}, {130, "3"},        {150, "40"},
        {240, "Ordine"},   {160, "C"},          {170, "6"},          {180, "2024"}};
    for (const auto &[indice, testo] : campi)
        scrivi(indice, testo);
    form->ComOk_Click();
    ASSERT_TRUE(messaggi->testi.isEmpty()) << messaggi->testi.join(" | ").toStdString();
    ASSERT_EQ(manuale.chiamate, 1);
    EXPECT_EQ(manuale.keySec, "EVA2");
    ASSERT_TRUE(form->motore());
    EXPECT_EQ(manuale.motore, form->motore().get());
    EXPECT_EQ(MousePointer(), kPuntatorePredefinito);

    const scEvaOrdVen &e = *form->motore();
    const auto data = [](int g, int m) { return Variant(Date::fromYmd(2024, m, g)); };
    EXPECT_EQ(e.otDataEvasione, Date::fromYmd(2024, 6, 30));
    EXPECT_EQ(e.oiAnno, 2024);
    EXPECT_TRUE(e.obEvasManule);
    EXPECT_EQ(e.osFattDocOrd, "OC");
    EXPECT_EQ(e.osTipoDocEva, "DDT");
    EXPECT_FALSE(e.obEvACorrisp);
    EXPECT_EQ(e.osCliDa, "14-01-0001");
    EXPECT_EQ(e.osCliA, "14-01-0004");
    EXPECT_EQ(e.osArticoloDa, "ART00001");
    EXPECT_EQ(e.osArticoloA, "ART00008");
    EXPECT_TRUE(e.ovDataConsDa.sameAs(data(1, 6)));
    EXPECT_TRUE(e.ovDataConsA.sameAs(data(30, 6)));
    EXPECT_TRUE(e.ovDataRifDa.sameAs(data(1, 1)));
    EXPECT_TRUE(e.ovDataRifA.sameAs(data(29, 6)));
    EXPECT_EQ(e.olNumRifDa, 1);
    EXPECT_EQ(e.olNumRifA, 50);
    EXPECT_TRUE(e.ovDataDocDa.sameAs(data(2, 1)));
    EXPECT_TRUE(e.ovDataDocA.sameAs(data(28, 6)));
    EXPECT_EQ(e.olNumDocDa, 3);
    EXPECT_EQ(e.olNumDocA, 40);
    EXPECT_EQ(e.oiPerIvaMese, 6);
    EXPECT_EQ(e.oiPerIvaAnno, 2024);
    EXPECT_EQ(e.osInDesc, "Ordine");
    EXPECT_EQ(e.osPrefDoc, "C");
    EXPECT_EQ(e.osMoneta, "Euro");
    EXPECT_EQ(e.osRegimeMargine, "N");
    EXPECT_EQ(e.oiSplitPay, 0);

    // A later request rewrites every criterion on the same engine: empty ranges, an invoice
    // type with its split-payment mode.
    const scEvaOrdVen *primo = form->motore().get();
    for (const auto &[indice, testo] : campi)
        if (indice != 160) // the prefix follows the type
            scrivi(indice, "");
    struct Caso {
        const char *tipo;
        int16_t split;
    } tipi[] = {{"FAT", 1}, {"FATSP", 2}, {"DDTN", 0}};
    for (const Caso &k : tipi) {
        scrivi(20, "OCF");
        scrivi(30, k.tipo);
        form->ComOk_Click();
        ASSERT_TRUE(messaggi->testi.isEmpty()) << messaggi->testi.join(" | ").toStdString();
        EXPECT_EQ(form->motore().get(), primo);
        EXPECT_EQ(e.oiSplitPay, k.split) << k.tipo;
        EXPECT_EQ(e.osTipoDocEva, k.tipo);
    }
    EXPECT_EQ(manuale.chiamate, 4);
    EXPECT_EQ(e.osFattDocOrd, "OCF");
    EXPECT_TRUE(e.osCliDa.isEmpty());
    EXPECT_TRUE(e.ovDataConsDa.isNull());
    EXPECT_TRUE(e.ovDataRifA.sameAs(data(30, 6))); // defaulted to the fulfilment date
    EXPECT_TRUE(e.ovDataDocA.isNull());
    EXPECT_EQ(e.olNumRifA, 0);
    EXPECT_EQ(e.oiPerIvaMese, 0);
    EXPECT_EQ(e.osPrefDoc, "B");
}

// A number field whose text is no number of its kind would turn into 0 and drop its criterion
// (every order fulfilled): it is marked when left and OK refuses it as it refuses a wrong date.
TEST_F(OkEvasione, ANumberFieldHoldingNoNumberIsRefusedAsAWrongDate)
{
    struct Caso {
        int indice;
        const char *testo;
    };
    const Caso casi[] = {{80, "x"},    {80, "1O"},  {90, "-3"},  {130, "1,5"}, {150, "99999999999"},
                         {170, "13"},  {170, "0"},  {170, "x"},  {180, "x"},   {180, "20244"}};
    for (const Caso &k : casi) {
        messaggi->testi.clear();
        scrivi(k.indice, k.testo);
        form->ComOk_Click();
        EXPECT_EQ(messaggi->testi, QStringList{"Data Errata o Campo Errato"}) << k.indice << " " << k.testo;
        EXPECT_EQ(BackColor(form->txt[k.indice]), glColErrore) << k.indice << " " << k.testo;
        EXPECT_EQ(manuale.chiamate, 0) << k.indice << " " << k.testo;
        // "from" fields copy into an empty "to" field: both are emptied again
        for (int i : {80, 90, 130, 150, 170, 180})
            scrivi(i, "");
    }
    // a wrong "from" number goes into the empty "to" field, wrong there too
    scrivi(130, "7x");
    EXPECT_EQ(form->txt[150]->text(), "7x");
    EXPECT_EQ(BackColor(form->txt[150]), glColErrore);
    scrivi(130, "");
    scrivi(150, "");

    messaggi->testi.clear();
    for (const auto &[indice, testo] : {std::pair{80, " 3 "}, {90, "12"}, {170, "12"}, {180, "2024"}})
        scrivi(indice, testo);
    form->ComOk_Click();
    EXPECT_TRUE(messaggi->testi.isEmpty()) << messaggi->testi.join(" | ").toStdString();
    ASSERT_EQ(manuale.chiamate, 1);
    EXPECT_EQ(form->motore()->olNumRifDa, 3);
    EXPECT_EQ(form->motore()->olNumRifA, 12);
    EXPECT_EQ(form->motore()->oiPerIvaMese, 12);
    EXPECT_EQ(form->motore()->oiPerIvaAnno, 2024);
}

// A fulfilment type that the field's lookup would not offer (no such code, an internal type, an
// order type) is refused at OK as an unknown order type is.
TEST_F(OkEvasione, AnUnknownFulfilmentTypeIsRefused)
{
    for (const char *tipo : {"XYZ", "DDTI", "OC"}) {
        messaggi->testi.clear();
        scrivi(30, tipo);
        EXPECT_EQ(form->lab[30]->text(), "** INESISTENTE **") << tipo;
        form->ComOk_Click();
        EXPECT_EQ(messaggi->testi, QStringList{QStringLiteral("tipo documento di evasione %1 non trovato").arg(tipo)});
        EXPECT_EQ(manuale.chiamate, 0) << tipo;
    }
    messaggi->testi.clear();
    scrivi(30, "DDT");
    form->ComOk_Click();
    EXPECT_TRUE(messaggi->testi.isEmpty()) << messaggi->testi.join(" | ").toStdString();
    EXPECT_EQ(manuale.chiamate, 1);
}

TEST_F(OkEvasione, TheEnginesRefusalOfTheTypesIsShown)
{
    suite::insertRow(fixture, QStringLiteral("FattDocumenti"),
                     {{"FattDocumento", "OCX"}, {"Descrizione", "Ordine senza causale"}, {"Tipo", "O"}, {"Segno", "+"},
                      {"Interno", "N"}, {"FattDocEvasione", "DDT"}, {"MagCausale", "ZZZ"}});
    scrivi(20, "OCX");
    form->ComOk_Click();
    ASSERT_EQ(messaggi->testi.size(), 1);
    EXPECT_TRUE(messaggi->testi.front().contains("ZZZ")) << messaggi->testi.front().toStdString();
    EXPECT_EQ(manuale.chiamate, 0);
}

TEST_F(OkEvasione, AnErrorInsideOkIsShownAndTheDialogStaysUsable)
{
    ImpostaFrmEvaManu({});
    form->ComOk_Click();
    ASSERT_EQ(messaggi->testi.size(), 1);
    EXPECT_TRUE(messaggi->testi.front().startsWith("Errore(91): ")) << messaggi->testi.front().toStdString();
    EXPECT_EQ(MousePointer(), kPuntatorePredefinito);

    messaggi->testi.clear();
    ImpostaFrmEvaManu([this]() -> FormEvasioneManuale & { return manuale; });
    form->ComOk_Click();
    EXPECT_TRUE(messaggi->testi.isEmpty());
    EXPECT_EQ(manuale.chiamate, 1);
}

} // namespace
