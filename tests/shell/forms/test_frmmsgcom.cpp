// The message dialog: its layout rules, the button numbers it returns, its keys and close box.
#include "frmmsgcom.h"
#include "modhtmlhelp.h"
#include "puntatore.h"
#include "risvid.h"
#include "schermo.h"
#include "visualizzatoreaiutodiprova.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// ---------------------------------------------------------------- layout rules (twips)

MisureMsgCom misure(QSize messaggio, int pulsanti)
{
    MisureMsgCom m;
    m.larghezzaSchermo = 15360; // 1024 px
    m.altezzaUtile = 10920;     // 728 px
    m.bordoLaterale = 120;
    m.bordoVerticale = 400;
    m.pulsanti = pulsanti;
    m.misuraMessaggio = [messaggio](int larghezza) {
        if (larghezza == 0)
            return messaggio;
        const int righe = (messaggio.width() + larghezza - 1) / larghezza;
        return QSize(larghezza, messaggio.height() * righe);
    };
    return m;
}

TEST(LayoutMsgCom, LongCaptionsMakeTheDialogAsWideAsTheButtons)
{
    MisureMsgCom m = misure(QSize(600, 200), 3);
    m.larghezzaPulsante = 2500;
    const LayoutMsgCom l = calcolaLayoutMsgCom(m);
    EXPECT_EQ(l.larghezza, 3 * (2500 + 400) + 120);
    EXPECT_EQ(l.distanza, 400);
    ASSERT_EQ(l.pulsanti.size(), 3u);
    EXPECT_EQ(l.pulsanti[0], QPoint(200, 180 + 200 + 290));
    EXPECT_EQ(l.pulsanti[1].x(), 200 + 2500 + 400);
    EXPECT_EQ(l.pulsanti[2].x(), 200 + 2 * 2900);
    EXPECT_EQ(l.altezza, 400 + 180 + 200 + 290 + 435 + 150);
    EXPECT_FALSE(l.casellaTesto);
    EXPECT_EQ(l.etichetta, QRect((8700 - 600) / 2, 180, 600, 200));
}

TEST(LayoutMsgCom, AShortTextShrinksTheDialogAndAWideOneWraps)
{
    LayoutMsgCom l = calcolaLayoutMsgCom(misure(QSize(3000, 200), 1));
    EXPECT_EQ(l.larghezza, 3000 + 600 + 120);
    EXPECT_EQ(l.larghezzaInterna, 3600);
    EXPECT_EQ(l.distanza, 3600 - 1515);
    EXPECT_EQ(l.pulsanti[0].x(), (3600 - 1515) / 2);
    EXPECT_EQ(l.etichetta.left(), 300);

    // wider than 80 % of the screen allows: wrapped at the inner width, which stays
    l = calcolaLayoutMsgCom(misure(QSize(30000, 200), 2));
    const int interna = 15360 * 80 / 100 - 120;
    EXPECT_TRUE(l.aCapo);
    EXPECT_EQ(l.larghezza, 15360 * 80 / 100);
    EXPECT_EQ(l.etichetta, QRect(0, 180, interna, 600));
    EXPECT_EQ(l.distanza, (interna - 2 * 1515) / 2);
    EXPECT_EQ(l.pulsanti[1].x(), l.distanza / 2 + 1515 + l.distanza);
}

TEST(LayoutMsgCom, ATextTooTallOrAlwaysInTheBoxScrollsAboveTheTaskbar)
{
    for (bool sempre : {false, true}) {
        MisureMsgCom m = misure(sempre ? QSize(3000, 200) : QSize(3000, 12000), 1);
        m.sempreTesto = sempre;
        const LayoutMsgCom l = calcolaLayoutMsgCom(m);
        EXPECT_TRUE(l.casellaTesto);
        EXPECT_EQ(l.altezza, 10920);
        const int topPulsanti = 10920 - 400 - 435 - 290;
        EXPECT_EQ(l.pulsanti[0].y(), topPulsanti);
        EXPECT_EQ(l.testo, QRect(0, 120, l.larghezzaInterna, topPulsanti - 120 - 290));
    }
}

// ---------------------------------------------------------------- the dialog on the screen

class MsgCom : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_schermo = impostaGeometriaSchermo(GeometriaSchermo{QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 728)});
        m_fattore = gdRisVidMsg;
        gdRisVidMsg = 1;
    }
    void TearDown() override
    {
        impostaGeometriaSchermo(m_schermo);
        gdRisVidMsg = m_fattore;
    }

    // Runs `azione` on the dialog once it is on the screen.
    static void quandoAperto(std::function<void(DialogoMsgCom &)> azione)
    {
        auto *t = new QTimer;
        QObject::connect(t, &QTimer::timeout, [t, azione] {
            DialogoMsgCom *d = DialoghiQt::aperto();
            if (!d || !d->isVisible())
                return;
            t->stop();
            t->deleteLater();
            azione(*d);
        });
        t->start(5);
    }

    static int chiedi(const RichiestaMsgCom &r) { return DialoghiQt().msgCom(r); }

    static RichiestaMsgCom richiesta(const QString &testo, QStringList pulsanti)
    {
        RichiestaMsgCom r;
        r.psLabel = testo;
        r.psCom1 = pulsanti.value(0);
        if (pulsanti.size() > 1)
            r.pvCom2 = pulsanti[1];
        if (pulsanti.size() > 2)
            r.pvCom3 = pulsanti[2];
        return r;
    }

    std::optional<GeometriaSchermo> m_schermo;
    double m_fattore = 0;
};

TEST_F(MsgCom, ReturnsTheNumberOfTheButtonPressed)
{
    for (int pulsante : {1, 2, 3}) {
        quandoAperto([pulsante](DialogoMsgCom &d) { d.ComEsegui[static_cast<size_t>(pulsante - 1)]->click(); });
        EXPECT_EQ(chiedi(richiesta("Salvare?", {"&Sì", "&No", "&Annulla"})), pulsante);
    }
}

TEST_F(MsgCom, EnterPressesTheDefaultEscTheCancelButtonAndTheCloseBoxActsAsEsc)
{
    struct Caso {
        QStringList pulsanti;
        std::function<void(DialogoMsgCom &)> azione;
        int atteso;
    };
    const auto tasto = [](Qt::Key k) { return [k](DialogoMsgCom &d) { QTest::keyClick(&d, k); }; };
    const auto chiudi = [](DialogoMsgCom &d) { d.close(); };
    const std::vector<Caso> casi = {
        {{"&Ok"}, tasto(Qt::Key_Return), 1},
        {{"&Riprovare", "&Annulla"}, tasto(Qt::Key_Return), 1},
        {{"&Riprovare", "&Annulla"}, tasto(Qt::Key_Escape), 2},
        {{"&Riprovare", "&Annulla"}, chiudi, 2},
        {{"&Ok"}, chiudi, 1},
    };
    for (const Caso &c : casi) {
        quandoAperto(c.azione);
        EXPECT_EQ(chiedi(richiesta("Messaggio", c.pulsanti)), c.atteso) << c.pulsanti.join(",").toStdString();
    }

    // three buttons: neither Esc nor the close box answers, only a button does
    quandoAperto([](DialogoMsgCom &d) {
        QTest::keyClick(&d, Qt::Key_Escape);
        d.close();
        EXPECT_TRUE(d.isVisible());
        d.ComEsegui[2]->click();
    });
    EXPECT_EQ(chiedi(richiesta("Messaggio", {"A", "B", "C"})), 3);

    // a third caption without a second: one button
    RichiestaMsgCom r = richiesta("Messaggio", {"&Ok"});
    r.pvCom3 = "ignorato";
    quandoAperto([](DialogoMsgCom &d) {
        EXPECT_EQ(d.ComEsegui.size(), 1u);
        d.close();
    });
    EXPECT_EQ(chiedi(r), 1);
}

TEST_F(MsgCom, TheDefaultButtonHasTheFocusAndASecondDialogIsRefused)
{
    RichiestaMsgCom r = richiesta("Messaggio", {"A", "B", "C"});
    r.piComDefault = 2;
    int secondo = -1;
    quandoAperto([&](DialogoMsgCom &d) {
        EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
        EXPECT_EQ(QApplication::focusWidget(), d.ComEsegui[1]);
        secondo = chiedi(richiesta("Altro", {"&Ok"}));
        QTest::keyClick(d.ComEsegui[1], Qt::Key_Space);
    });
    EXPECT_EQ(chiedi(r), 2);
    EXPECT_EQ(secondo, 0);

    r.piComDefault = 4;
    quandoAperto([](DialogoMsgCom &d) {
        EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
        EXPECT_EQ(QApplication::focusWidget(), d.ComEsegui[0]);
        d.ComEsegui[0]->click();
    });
    EXPECT_EQ(chiedi(r), 1);
}

TEST_F(MsgCom, TheLayoutReachesTheWindowInPixels)
{
    RichiestaMsgCom r = richiesta("Breve", {"Primo pulsante", "Secondo", "Terzo"});
    r.pvWidthCom = int32_t{2505};
    r.pvTitolo = "Attenzione";
    quandoAperto([](DialogoMsgCom &d) {
        EXPECT_EQ(d.windowTitle(), "Attenzione");
        EXPECT_EQ(d.width(), 3 * (2505 + 400) / 15);
        EXPECT_EQ(d.ComEsegui[0]->x(), 200 / 15);
        EXPECT_EQ(d.ComEsegui[2]->width(), 2505 / 15);
        EXPECT_TRUE(d.LabMessaggio->isVisible());
        EXPECT_FALSE(d.txtMessaggio->isVisible());
        d.ComEsegui[0]->click();
    });
    chiedi(r);

    r = richiesta("Riga uno\r\nRiga due", {"&Ok"});
    r.pbSempreTxt = true;
    quandoAperto([](DialogoMsgCom &d) {
        EXPECT_TRUE(d.txtMessaggio->isVisible());
        EXPECT_FALSE(d.LabMessaggio->isVisible());
        EXPECT_EQ(d.txtMessaggio->toPlainText(), "Riga uno\nRiga due");
        EXPECT_EQ(d.height(), 728);
        d.ComEsegui[0]->click();
    });
    chiedi(r);
}

TEST_F(MsgCom, TheHourglassGivesWayWhileTheDialogIsOpen)
{
    Clessidra(true);
    int durante = -1;
    quandoAperto([&](DialogoMsgCom &d) {
        durante = MousePointer();
        d.ComEsegui[0]->click();
    });
    chiedi(richiesta("Messaggio", {"&Ok"}));
    EXPECT_EQ(durante, kPuntatorePredefinito);
    EXPECT_EQ(MousePointer(), kClessidra);
    Clessidra(false);
}

TEST_F(MsgCom, F1OpensTheHelpOfTheDialog)
{
    VisualizzatoreAiutoInstallato viewer;
    ImpostaAppHelpFile("/h/ordini.chm");
    quandoAperto([](DialogoMsgCom &d) {
        QTest::keyClick(d.ComEsegui[0], Qt::Key_F1);
        EXPECT_TRUE(d.isVisible());
        d.ComEsegui[0]->click();
    });
    chiedi(richiesta("Messaggio", {"&Ok"}));
    ImpostaAppHelpFile({});
    ASSERT_EQ(viewer.richieste().size(), 2u);
    EXPECT_EQ(viewer.richieste()[1].comando, ComandoAiuto::Contesto);
}

} // namespace
