// The progress notice under the library's progress driver: what it shows, and that a run
// shown by it never lets other events in.
#include "elaborazione.h"
#include "frminelab.h"
#include "mostraform.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <gtest/gtest.h>

namespace {

TEST(FrmInElab, ShowsTheRunAndLetsNothingElseRun)
{
    frmInElab form;
    AvanzamentoElab avanzamento;
    avanzamento.ImpostaForm(&form);
    bool eseguito = false;
    QMetaObject::invokeMethod(qApp, [&] { eseguito = true; }, Qt::QueuedConnection);

    avanzamento.Avvia(40, "Evasione ordini", 0, true, true, {}, "Evasione");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), "Evasione");
    EXPECT_EQ(QApplication::activeModalWidget(), &form);
    EXPECT_TRUE(UtilGenerali::ChiusuraImpedita());
    EXPECT_TRUE(ElaborazioneAttiva());
    avanzamento.Messaggio("Ordine 2024/17");
    avanzamento.Avanza(int32_t{12});
    EXPECT_EQ(form.LabMsgElab->text(), "Ordine 2024/17");
    EXPECT_EQ(form.LabFatti->text(), "12");
    EXPECT_EQ(form.LabDi->text(), "di");
    EXPECT_EQ(form.labDaFare->text(), "40");
    EXPECT_EQ(form.proDaFare->value(), 12);
    EXPECT_FALSE(eseguito);

    avanzamento.Termina();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(ElaborazioneAttiva());
    QApplication::processEvents();
    EXPECT_TRUE(eseguito);
}

} // namespace
