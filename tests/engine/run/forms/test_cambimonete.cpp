// The automatic request: the rates of the currencies that the document headers take from the
// engine's rate vector are asked in the form "Cambi", all above zero, before the run starts
// with the request's criteria; closing the form otherwise abandons the request. On both engines.
#include "contesto.h"
#include "dialogoevasione.h"
#include "evasionediprova.h"
#include "frminpcambi.h"
#include "rowwriter.h"
#include "puntatore.h"
#include "scevaordven.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Acts on the rate form once it is on the screen.
void quandoCambi(std::function<void(FrmInpCambi &)> azioni)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, azioni] {
        auto *f = qobject_cast<FrmInpCambi *>(QApplication::activeModalWidget());
        if (!f)
            return;
        timer->stop();
        timer->deleteLater();
        azioni(*f);
    });
    timer->start();
}

// The rows of the form: code, date, rate.
QStringList righe(const FrmInpCambi &f)
{
    QStringList out;
    for (int r = 0; r < f.dbgCambi->rowCount(); ++r)
        out << f.dbgCambi->item(r, FrmInpCambi::ColMoneta)->text() + u'|' + f.dbgCambi->item(r, FrmInpCambi::ColData)->text()
                   + u'|' + f.dbgCambi->item(r, FrmInpCambi::ColCambio)->text();
    out.sort();
    return out;
}

void scriviCambio(FrmInpCambi &f, const QString &moneta, const QString &cambio)
{
    for (int r = 0; r < f.dbgCambi->rowCount(); ++r)
        if (f.dbgCambi->item(r, FrmInpCambi::ColMoneta)->text() == moneta)
            f.dbgCambi->item(r, FrmInpCambi::ColCambio)->setText(cambio);
}

class CambiMonete : public DialogoEvasione, public ::testing::WithParamInterface<Engine> {
protected:
    void SetUp() override
    {
        if (!prepara(GetParam()))
            return;
        c->menu().responder().setUtente(kUtente);
        gsProgramma = QStringLiteral("EvaOrd");
        gsProgrammaPar = QString();
        ImpostaServiziEvasione(&servizi);
        esegui("INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Operatore) VALUES ('CHF', 'Franco svizzero', 2, 2, '/')");
        esegui("INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Cee, Operatore) VALUES ('GBP', 'Sterlina', 2, 2, 'N', '/')");
        esegui("UPDATE Monete SET Cee = 'N' WHERE Moneta = 'L.'"); // the lire take the order's own rate all the same
        suite::insertRow(fixture, "Cambi", {{"Moneta", "USD"}, {"Data", Date::fromYmd(2024, 6, 1)}, {"Cambio", 1.08}});
        suite::insertRow(fixture, "Cambi", {{"Moneta", "USD"}, {"Data", Date::fromYmd(2024, 7, 1)}, {"Cambio", 1.2}});
        int cliente = 1;
        for (const char *moneta : {"Euro", "USD", "CHF", "XXX", "SEK", "L.", "USD"})
            ordine({.cliente = cliente++, .moneta = moneta, .cambio = 1.5,
                    .righe = {{.articolo = suite::articleCode(1), .qta = 2, .prezzo = 10}}});
        // an order of another type: its currency is not the request's
        ordine({.cliente = 1, .fattDocumento = "OCF", .moneta = "GBP", .cambio = 0.85,
                .righe = {{.articolo = suite::articleCode(1), .qta = 2, .prezzo = 10}}});
        form->OptTipoEva[0]->click();
    }
    void TearDown() override
    {
        ImpostaServiziEvasione(nullptr);
        DialogoEvasione::TearDown();
    }

    ServiziDiProva servizi;
};

TEST_P(CambiMonete, AsksTheRatesTheHeadersNeedAndRunsWithThem)
{
    QStringList chieste;
    QStringList rifiuti;
    bool aperta = false;
    quandoCambi([&](FrmInpCambi &f) {
        aperta = true;
        EXPECT_EQ(f.windowTitle(), "Cambi - Ditta dimostrativa S.r.l.");
        EXPECT_FALSE(f.CheAggTutti->isVisible());
        chieste = righe(f);
        f.ComChiudi->click(); // CHF and XXX have no rate yet
        scriviCambio(f, "CHF", "-1");
        f.ComChiudi->click();
        rifiuti = messaggi->testi;
        EXPECT_TRUE(f.isVisible());
        scriviCambio(f, "CHF", "0,95");
        // a rate typed and not yet stored by its cell counts
        for (int r = 0; r < f.dbgCambi->rowCount(); ++r)
            if (f.dbgCambi->item(r, FrmInpCambi::ColMoneta)->text() == "XXX")
                f.dbgCambi->setCurrentCell(r, FrmInpCambi::ColCambio);
        QApplication::setActiveWindow(&f);
        auto *editor = f.dbgCambi->viewport()->findChild<QLineEdit *>();
        if (!editor) {
            f.dbgCambi->editItem(f.dbgCambi->currentItem());
            editor = f.dbgCambi->viewport()->findChild<QLineEdit *>();
        }
        if (editor) {
            editor->setFocus();
            editor->selectAll();
            QTest::keyClicks(editor, "2,5");
        }
        f.ComChiudi->click();
        if (f.isVisible()) { // nothing typed: the test fails, the window goes
            ADD_FAILURE() << "the rate being typed was not taken";
            f.close();
        }
    });
    form->ComOk_Click();
    ASSERT_TRUE(aperta);
    EXPECT_EQ(chieste, (QStringList{"CHF||0", "USD|01/06/2024|1,08", "XXX||0"}));
    EXPECT_EQ(rifiuti, (QStringList{"Si prega di inserire tutti i cambi", "Si prega di inserire tutti i cambi"}));

    scEvaOrdVen &e = *form->motore();
    EXPECT_DOUBLE_EQ(e.ogCambi().Elemento("CHF")->Valore, 0.95);
    EXPECT_DOUBLE_EQ(e.ogCambi().Elemento("USD")->Valore, 1.08);
    EXPECT_DOUBLE_EQ(e.ogCambi().Elemento("XXX")->Valore, 2.5);
    EXPECT_EQ(e.ogCambi().Conta(), 3);
    // the run took the request: the year's "OC" orders into delivery notes at 30/06/2024
    EXPECT_FALSE(e.obEvasManule);
    EXPECT_FALSE(e.obSoloASaldo);
    EXPECT_EQ(e.osFattDocOrd, "OC");
    EXPECT_EQ(e.osTipoDocEva, "DDT");
    EXPECT_EQ(e.otDataEvasione, Date::fromYmd(2024, 6, 30));
    EXPECT_EQ(e.osPrefDoc, "B");
    EXPECT_EQ(servizi.chiamate.count("CreaAppoggioTemp"), 1);
    EXPECT_EQ(servizi.chiamate.filter("EvadoOrdTest").size(), 7);
    EXPECT_TRUE(messaggi->testi.contains("Elaborazione terminata")) << messaggi->testi.join(" | ").toStdString();
}

TEST_P(CambiMonete, ClosingTheRateWindowAbandonsTheRequest)
{
    quandoCambi([this](FrmInpCambi &f) {
        EXPECT_FALSE(form->close()); // the dialog stays while its request is handled
        f.close();
    });
    form->ComOk_Click();
    ASSERT_TRUE(form);
    EXPECT_TRUE(servizi.chiamate.isEmpty());
    EXPECT_TRUE(messaggi->testi.isEmpty());
    EXPECT_EQ(form->txt[20]->text(), "OC");
    EXPECT_TRUE(form->OptTipoEva[0]->isChecked());
}

TEST_P(CambiMonete, TheRequestNarrowsTheCurrenciesAndWithoutAnyTheRunStartsAtOnce)
{
    QStringList chieste;
    quandoCambi([&](FrmInpCambi &f) {
        chieste = righe(f);
        f.ComChiudi->click();
    });
    scrivi(190, "USD");
    form->ComOk_Click();
    EXPECT_EQ(chieste, QStringList{"USD|01/06/2024|1,08"});
    EXPECT_EQ(servizi.chiamate.filter("EvadoOrdTest").size(), 2);

    // Orders in euro, in an EU currency or in lire: no form at all.
    servizi.chiamate.clear();
    for (const char *moneta : {"Euro", "SEK", "L."}) {
        scrivi(190, moneta);
        form->ComOk_Click();
    }
    EXPECT_EQ(form->motore()->ogCambi().Conta(), 0);
    EXPECT_EQ(servizi.chiamate.filter("EvadoOrdTest").size(), 3);
}

TEST_P(CambiMonete, ADatabaseErrorDuringOkIsShownAndTheDialogStaysUsable)
{
    esegui("ALTER TABLE Monete RENAME TO MoneteAltrove");
    form->ComOk_Click();
    ASSERT_EQ(messaggi->testi.size(), 1);
    EXPECT_TRUE(messaggi->testi.front().startsWith("Errore(")) << messaggi->testi.front().toStdString();
    EXPECT_TRUE(servizi.chiamate.isEmpty());
    EXPECT_EQ(MousePointer(), kPuntatorePredefinito);

    esegui("ALTER TABLE MoneteAltrove RENAME TO Monete");
    messaggi->testi.clear();
    scrivi(190, "Euro");
    form->ComOk_Click();
    EXPECT_TRUE(messaggi->testi.contains("Elaborazione terminata")) << messaggi->testi.join(" | ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, CambiMonete, kBothEngines, engineParamName);

} // namespace
