// The fulfilment dialog: its defaults at load, the lookups of its keys, and the checks run when
// a field is left (document types with the prefix row and flags, margin scheme, copies).
#include "colori.h"
#include "contesto.h"
#include "dialogoevasione.h"
#include "modhtmlhelp.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

namespace {

TEST_F(DialogoEvasione, LoadFillsTheWorkDateTheOrderTypeAndItsFulfilmentType)
{
    EXPECT_EQ(form->oiLoadOk(), 1);
    EXPECT_EQ(form->windowTitle(), "Evasione Ordini - Ditta dimostrativa S.r.l.");
    EXPECT_EQ(HelpContextID(form), 35300);
    EXPECT_EQ(form->txt[10]->text(), "30/06/2024");
    EXPECT_EQ(form->txt[20]->text(), "OC");
    EXPECT_EQ(form->lab[20]->text(), "Ordine cliente");
    EXPECT_EQ(form->txt[30]->text(), "DDT");
    EXPECT_EQ(form->lab[30]->text(), "Documento di trasporto");
    EXPECT_TRUE(form->txt[160]->isVisible());
    EXPECT_EQ(form->Label1[160]->text(), "Prefisso DDT: ");
    EXPECT_EQ(form->lab[160]->text(), "(Elenco prefissi da Parametri Fatturazione: BC )");
    EXPECT_EQ(form->txt[160]->text(), "B");
    EXPECT_TRUE(form->OptTipoEva[1]->isChecked());
    EXPECT_FALSE(form->OptTipoEva[0]->isChecked());
    EXPECT_FALSE(form->CheCorrispettivo->isChecked());
    for (int i : {40, 50, 60, 70, 80, 90, 100, 110, 130, 150, 170, 180, 190, 200, 210, 220, 230, 240})
        EXPECT_TRUE(form->txt[i]->text().isEmpty()) << i;
    EXPECT_TRUE(messaggi->testi.isEmpty());
    EXPECT_FALSE(form->motore()); // the engine comes with the first OK
}

TEST_F(DialogoEvasione, AFailedLoadIsReportedToTheMenu)
{
    esegui("ALTER TABLE FattDocumenti RENAME TO FattDocumentiAltrove");
    gbChiusuraDaMenu = false;
    nuovoDialogo();
    EXPECT_EQ(form->oiLoadOk(), -1);
    EXPECT_TRUE(gbChiusuraDaMenu);
    const auto &giornale = c->menu().journal();
    const auto rapporto = std::find_if(giornale.begin(), giornale.end(), [](const JournalEntry &e) {
        return e.kind == JournalEntry::Kind::Chiamata && e.op == QLatin1String("InviaComando") && e.args.size() == 3
               && e.args[0].text() == QLatin1String("MsgBox");
    });
    ASSERT_NE(rapporto, giornale.end());
    EXPECT_TRUE(rapporto->args[2].text().startsWith("Evasione Ordini - Ditta dimostrativa S.r.l.\r\nErrore("))
        << rapporto->args[2].text().toStdString();
    EXPECT_TRUE(messaggi->testi.isEmpty());
}

TEST_F(DialogoEvasione, TheFulfilmentTypeSetsThePrefixRow)
{
    struct Caso {
        const char *ordine, *evasione; // the fulfilment type typed after the order type, when given
        const char *tipo, *etichetta, *prefisso, *elenco;
        bool visibile;
    };
    c->parametro("Fat.PrefDdt", "C");
    const Caso casi[] = {
        {"OCF", nullptr, "FAT", "Prefisso fatture: ", "A", "(Elenco prefissi da Parametri Fatturazione: AM )", true},
        {"OC", nullptr, "DDT", "Prefisso DDT: ", "B", "(Elenco prefissi da Parametri Fatturazione: BC )", true},
        // a type without a prefix of its own takes the company's
        {"OC", "DDTN", "DDTN", "Prefisso DDT: ", "C", "(Elenco prefissi da Parametri Fatturazione: BC )", true},
        // leaving the order type rewrites whatever was typed as fulfilment type
        {"OCF", nullptr, "FAT", "Prefisso fatture: ", "A", "(Elenco prefissi da Parametri Fatturazione: AM )", true},
        // no fulfilment type: no prefix
        {"OC", "", "", "Prefisso DDT: ", "", "(Elenco prefissi da Parametri Fatturazione: BC )", false},
    };
    for (const Caso &k : casi) {
        scrivi(30, "DDTN");
        scrivi(160, "C");
        scrivi(20, k.ordine);
        if (k.evasione)
            scrivi(30, k.evasione);
        EXPECT_EQ(form->txt[30]->text(), k.tipo) << k.ordine;
        EXPECT_EQ(form->txt[160]->isVisible(), k.visibile) << k.tipo;
        EXPECT_EQ(form->lab[160]->isVisible(), k.visibile) << k.tipo;
        EXPECT_EQ(form->Label1[160]->isVisible(), k.visibile) << k.tipo;
        EXPECT_EQ(form->Label1[160]->text(), k.etichetta) << k.tipo;
        EXPECT_EQ(form->lab[160]->text(), k.elenco) << k.tipo;
        EXPECT_EQ(form->txt[160]->text(), k.prefisso) << k.tipo;
    }
    // F1: a type whose Interno is Null decodes
    scrivi(30, "DDTN");
    EXPECT_EQ(form->lab[30]->text(), "DDT senza flag interno");
    scrivi(30, "DDTI");
    EXPECT_EQ(form->lab[30]->text(), "** INESISTENTE **");
    EXPECT_TRUE(messaggi->testi.isEmpty()) << messaggi->testi.join(" | ").toStdString();
}

TEST_F(DialogoEvasione, WithoutCompanyPrefixesTheRowSaysSoAndOnlyTheTypesOwnPrefixApplies)
{
    c->parametro("Fat.ElePrefDdt", "");
    c->parametro("Ditta.EleRegIvaVen", "");
    scrivi(160, "Z");
    scrivi(30, "DDTN");
    EXPECT_EQ(form->lab[160]->text(), "Mancano in Param.di Contabilità i prefissi per DDT !!");
    EXPECT_EQ(form->txt[160]->text(), "Z");
    scrivi(30, "DDT");
    EXPECT_EQ(form->txt[160]->text(), "B"); // its PrefBolle
    scrivi(160, "Z");
    scrivi(30, "FAT");
    EXPECT_EQ(form->lab[160]->text(), "Mancano in Param.di Contabilità i prefissi per fattura !!");
    EXPECT_EQ(form->txt[160]->text(), "A"); // its PrefRegIva
}

TEST_F(DialogoEvasione, ThePrefixIsColouredByItsList)
{
    scrivi(160, "");
    EXPECT_EQ(BackColor(form->txt[160]), glColErrore); // a delivery note needs its prefix
    scrivi(160, "C");
    EXPECT_EQ(BackColor(form->txt[160]), glColNormale);
    scrivi(20, "OCF");
    scrivi(160, "");
    EXPECT_EQ(BackColor(form->txt[160]), glColNormale); // an invoice may leave it empty
    scrivi(160, "X");
    EXPECT_EQ(BackColor(form->txt[160]), glColErrore);
    // an empty fulfilment type hides the row: its prefix no longer counts as wrong
    scrivi(30, "");
    EXPECT_NE(BackColor(form->txt[160]), glColErrore);
    EXPECT_TRUE(messaggi->testi.isEmpty());
}

// The message of the margin-scheme check is a real modal window: the focus it takes from the
// dialog is no leaving of the prefix field, so the check runs once per leaving.
TEST_F(DialogoEvasione, MarginSchemeMismatchIsSaidOnceEachWay)
{
    // the dialog active again once the message has gone, with the focus where the user put it
    const auto riattiva = [this] {
        QTest::qWait(100);
        QApplication::setActiveWindow(form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    };
    durante = [] {
        QDialog modale;
        modale.setWindowModality(Qt::ApplicationModal);
        QTimer::singleShot(30, &modale, &QDialog::accept);
        modale.exec();
    };
    // An ordinary invoice type with the margin-scheme register "M".
    scrivi(20, "OCF");
    ASSERT_TRUE(messaggi->testi.isEmpty());
    form->txt[160]->setFocus(Qt::TabFocusReason);
    form->txt[160]->setText("M");
    QTest::keyClick(form->txt[160], Qt::Key_Tab);
    riattiva();
    EXPECT_EQ(messaggi->testi, QStringList{"Prefisso Fattura con flag regime del margine"});
    EXPECT_EQ(BackColor(form->txt[160]), glColErrore);
    EXPECT_EQ(QApplication::focusWidget(), form->txt[170]);

    // A margin-scheme invoice type with its ordinary prefix "A": said as the type is left.
    messaggi->testi.clear();
    scrivi(20, "OCM");
    riattiva();
    EXPECT_EQ(form->txt[30]->text(), "FATM");
    EXPECT_EQ(form->txt[160]->text(), "A");
    EXPECT_EQ(messaggi->testi, QStringList{"Prefisso Fattura senza flag regime del margine"});
    EXPECT_EQ(BackColor(form->txt[160]), glColErrore);
    messaggi->testi.clear();
    form->txt[160]->setFocus(Qt::TabFocusReason);
    form->txt[160]->setText("M");
    QTest::keyClick(form->txt[160], Qt::Key_Tab);
    riattiva();
    EXPECT_TRUE(messaggi->testi.isEmpty());
    EXPECT_EQ(BackColor(form->txt[160]), glColNormale);
}

TEST_F(DialogoEvasione, F2ToF5OpenTheLookupOfTheFieldWithItsFilter)
{
    struct Caso {
        int indice;
        Qt::Key tasto;
        Qt::KeyboardModifiers modificatori;
        const char *titolo; // nullptr: no lookup
        QStringList trovati;  // what the window lists for the field's text
    };
    const Caso casi[] = {
        {20, Qt::Key_F2, Qt::NoModifier, "", {"OC", "OCF", "OCM", "OCR"}},
        {30, Qt::Key_F3, Qt::NoModifier, "", {"DDT", "DDTN", "FAT", "FATM", "FATSP"}},
        {190, Qt::Key_F4, Qt::NoModifier, "", {"Euro", "L.", "SEK", "USD"}},
        {200, Qt::Key_F5, Qt::NoModifier, "", {}},
        {40, Qt::Key_F2, Qt::NoModifier, "", {}}, // accounts: the component lists them by kind
        {20, Qt::Key_F2, Qt::ShiftModifier, nullptr, {}},
        {20, Qt::Key_F6, Qt::NoModifier, nullptr, {}},
        {10, Qt::Key_F2, Qt::NoModifier, nullptr, {}},
        {160, Qt::Key_F2, Qt::NoModifier, nullptr, {}},
        {240, Qt::Key_F2, Qt::NoModifier, nullptr, {}},
    };
    for (const Caso &k : casi) {
        form->txt[k.indice]->setFocus(Qt::TabFocusReason);
        form->txt[k.indice]->clear();
        const size_t prima = finestra->aperture.size();
        QTest::keyClick(form->txt[k.indice], k.tasto, k.modificatori);
        if (!k.titolo) {
            EXPECT_EQ(finestra->aperture.size(), prima) << k.indice;
            continue;
        }
        ASSERT_EQ(finestra->aperture.size(), prima + 1) << k.indice;
        QStringList trovati = finestra->aperture.back().trovati;
        if (!k.trovati.isEmpty()) {
            trovati.sort(Qt::CaseInsensitive);
            EXPECT_EQ(trovati, k.trovati) << k.indice;
        } else {
            EXPECT_FALSE(trovati.isEmpty()) << k.indice;
        }
    }
    // The "..." button puts the focus in its field and opens the same lookup as F2 there.
    finestra->scegli = FinestraAiutoDiProva::primoTrovato;
    form->txt[210]->clear();
    form->ComHlp[210]->click();
    EXPECT_EQ(QApplication::focusWidget(), form->txt[210]);
    EXPECT_EQ(form->txt[210]->text(), suite::articleCode(1));
    EXPECT_EQ(form->lab[210]->text(), "Articolo 1");
}

TEST_F(DialogoEvasione, FromFieldsGoIntoEmptyToFieldsDecoded)
{
    scrivi(40, "14010003");
    EXPECT_EQ(form->txt[40]->text(), "14-01-0003");
    EXPECT_EQ(form->txt[50]->text(), "14-01-0003");
    EXPECT_EQ(form->lab[50]->text(), "Cliente 0003");
    scrivi(40, "14010002");
    EXPECT_EQ(form->txt[50]->text(), "14-01-0003"); // a filled "to" stays
    scrivi(200, suite::articleCode(2));
    EXPECT_EQ(form->txt[210]->text(), suite::articleCode(2));
    EXPECT_EQ(form->lab[210]->text(), "Articolo 2");
    scrivi(80, "12");
    EXPECT_EQ(form->txt[90]->text(), "12");
    scrivi(130, "7");
    EXPECT_EQ(form->txt[150]->text(), "7");
    scrivi(190, "USD");
    EXPECT_EQ(form->lab[190]->text(), "Dollaro USA");
    // dates are checked, never copied
    scrivi(60, "1/3/2024");
    EXPECT_EQ(form->txt[60]->text(), "01/03/2024");
    EXPECT_TRUE(form->txt[70]->text().isEmpty());
    scrivi(220, "31/02/2024");
    EXPECT_EQ(BackColor(form->txt[220]), glColErrore);
    scrivi(220, "");
    EXPECT_NE(BackColor(form->txt[220]), glColErrore);
    scrivi(10, "");
    EXPECT_EQ(BackColor(form->txt[10]), glColErrore); // the fulfilment date is required
}

TEST_F(DialogoEvasione, TickingTheCashSaleEmptiesOnlyTheFulfilmentType)
{
    form->CheCorrispettivo->click();
    EXPECT_TRUE(form->txt[30]->text().isEmpty());
    EXPECT_EQ(form->txt[160]->text(), "B");
    EXPECT_TRUE(form->txt[160]->isVisible());
    scrivi(30, "FAT");
    form->CheCorrispettivo->click(); // unticking changes nothing
    EXPECT_EQ(form->txt[30]->text(), "FAT");
}

} // namespace
