// The keyboard behaviour of the forms, driven by real keys on a form on the headless screen.
#include "caselletesto.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "dialoghidiprova.h"
#include "menuservercontrol.h"
#include "modhtmlhelp.h"
#include "socketmenuclient.h"
#include "tasti.h"
#include "tastiera.h"
#include "visualizzatoreaiutodiprova.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// A form whose key handlers are those of the fulfilment dialog.
class FormTasti : public QWidget, public TastiForm {
public:
    FormTasti()
    {
        setObjectName("frmProva");
        int tab = 0;
        for (int i : {10, 20}) {
            auto *t = new QLineEdit(this);
            t->setObjectName("txt");
            t->setProperty("Index", i);
            t->setProperty("TabIndex", tab++);
            txt.push_back(t);
        }
        nota = new QPlainTextEdit(this);
        nota->setObjectName("txt");
        nota->setProperty("Index", 30);
        nota->setProperty("TabIndex", tab++);
        griglia = new QTableView(this);
        griglia->setObjectName("dbgLista");
        griglia->setProperty("TabIndex", tab++);
        griglia->setModel(new QStandardItemModel(3, 2, griglia));
        altro = new QLineEdit(this);
        altro->setObjectName("txtAltro");
        altro->setProperty("TabIndex", tab++);
        auto *l = new QVBoxLayout(this);
        for (QWidget *w : {static_cast<QWidget *>(txt[0]), static_cast<QWidget *>(txt[1]), static_cast<QWidget *>(nota),
                           static_cast<QWidget *>(griglia), static_cast<QWidget *>(altro)})
            l->addWidget(w);
        ImpostaKeyPreview(this, true);
    }

    void Form_KeyDown(int16_t &KeyCode, int16_t Shift) override
    {
        if (GestTastiCtrl(KeyCode, Shift, this, 0, 0, 0, -1, 0, 0, Variant(), 0, -1).toInteger() <= 0) {
            QString vuoto1, vuoto2;
            GestTastiNavig(KeyCode, Shift, this, 0, 0, 0, -1, 0, 0, Variant(), vuoto1, vuoto2, -1);
        }
    }
    void Form_KeyPress(int16_t &KeyAscii) override { KeyAscii = FiltraTasto(KeyAscii, this).toInteger(); }

    std::vector<QLineEdit *> txt;
    QPlainTextEdit *nota;
    QTableView *griglia;
    QLineEdit *altro;
};

class Tastiera : public ::testing::Test {
protected:
    explicit Tastiera(MenuConfig config = {}) : c(std::move(config)) {}
    void SetUp() override
    {
        giUltimoTasto = 0;
        giUltimoShift = 0;
        gbInvioNelCampo = false;
        TrovaSostituisci = {};
        gsTastierinoVirgola.clear();
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    void fuoco(QWidget *w)
    {
        w->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), w);
    }

    ContestoDiProva c;
    FormTasti form;
};

TEST(FiltraTasto, KeypadPointEscAndEnter)
{
    struct Caso {
        char16_t carattere;
        const char *virgola;
        int16_t ultimo, shift;
        bool invioNelCampo;
        char16_t atteso;
    } casi[] = {
        {u'.', "S", 110, 0, false, u','}, {u'.', "s", 110, 0, false, u','}, {u'.', "S", 190, 0, false, u'.'},
        {u'.', "S", 110, 1, false, u'.'}, {u'.', "N", 110, 0, false, u'.'}, {u'.', "", 110, 0, false, u'.'},
        {13, "", 13, 0, false, 0},        {13, "", 13, 0, true, 13},        {27, "", 27, 0, true, 0},
        {u'a', "S", 65, 0, false, u'a'},  {u',', "S", 110, 0, false, u','},
    };
    for (const Caso &k : casi) {
        gsTastierinoVirgola = k.virgola;
        giUltimoTasto = k.ultimo;
        giUltimoShift = k.shift;
        gbInvioNelCampo = k.invioNelCampo;
        EXPECT_EQ(FiltraTasto(static_cast<int16_t>(k.carattere), nullptr).toInteger(), static_cast<int16_t>(k.atteso))
            << static_cast<int>(k.carattere) << " " << k.virgola << " " << k.ultimo;
    }
    gsTastierinoVirgola.clear();
    gbInvioNelCampo = false;
}

TEST_F(Tastiera, TheKeypadPointTypesACommaWhenTheUserAsks)
{
    fuoco(form.txt[0]);
    gsTastierinoVirgola = "S";
    QTest::keyClick(form.txt[0], Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(form.txt[0], Qt::Key_Period);
    EXPECT_EQ(form.txt[0]->text(), ",.");
    gsTastierinoVirgola = "N";
    QTest::keyClick(form.txt[0], Qt::Key_Period, Qt::KeypadModifier);
    EXPECT_EQ(form.txt[0]->text(), ",..");
    EXPECT_EQ(giUltimoTasto, 110);
}

TEST_F(Tastiera, EnterMovesToTheNextFieldExceptInsideAMultiLineBoxOrAGrid)
{
    fuoco(form.txt[0]);
    QTest::keyClick(form.txt[0], Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form.txt[1]);
    QTest::keyClick(form.txt[1], Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.txt[0]);
    EXPECT_EQ(form.txt[0]->text(), "");

    // A multi-line box keeps Enter while its text is not wholly selected.
    fuoco(form.nota);
    form.nota->setPlainText("riga");
    QTest::keyClick(form.nota, Qt::Key_End);
    QTest::keyClick(form.nota, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form.nota);
    EXPECT_EQ(form.nota->toPlainText(), "riga\n");
    EXPECT_TRUE(gbInvioNelCampo);
    form.nota->selectAll();
    QTest::keyClick(form.nota, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form.griglia);
    EXPECT_EQ(form.nota->toPlainText(), "riga\n");
    EXPECT_FALSE(gbInvioNelCampo);

    // The grid keeps its Enter; Esc never types.
    QTest::keyClick(form.griglia, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form.griglia);
    fuoco(form.txt[1]);
    QTest::keyClick(form.txt[1], Qt::Key_Escape);
    EXPECT_EQ(form.txt[1]->text(), "");
}

TEST_F(Tastiera, F1OpensTheHelpBeforeAnythingElse)
{
    VisualizzatoreAiutoInstallato viewer;
    ImpostaAppHelpFile("/opt/suite/help/ordini.chm");
    fuoco(form.txt[0]);
    QTest::keyClick(form.txt[0], Qt::Key_A);
    QTest::keyClick(form.txt[0], Qt::Key_F1);
    EXPECT_FALSE(viewer.richieste().empty());
    EXPECT_EQ(giUltimoTasto, 65); // F1 is not recorded
    EXPECT_EQ(c.menu().journal().size(), 0u); // nor sent anywhere
    ImpostaAppHelpFile({});
}

MenuConfig tastiCtrl()
{
    MenuConfig m;
    m.tastiCtrl[75] = Variant(int16_t(1));               // Ctrl+K: the server handles it
    m.tastiCtrl[-75] = Variant("D  testo dal menu  ");  // Ctrl+Shift+K: a text for the field
    m.tastiCtrl[76] = Variant("N altro");                // Ctrl+L
    m.tastiCtrl[77] = Variant("X niente");               // Ctrl+M: any other answer
    return m;
}

// The shortcuts go to the stand-in menu server through the socket, as in the program.
class TastiCtrlMenu : public Tastiera {
protected:
    TastiCtrlMenu() : server(tastiCtrl()) {}
    void SetUp() override
    {
        auto client = std::make_shared<SocketMenuClient>(server.socketName());
        client->Collega("menu1", "EVAORD", "");
        ggMenuClient = client;
        Tastiera::SetUp();
    }
    QStringList richieste() const
    {
        QStringList r;
        for (const auto &e : server.journal()) {
            // The modifier keys themselves (Shift 16, Ctrl 17) are asked about too, as they are pressed.
            if (e.op == QLatin1String("InviaComando") && e.args.size() >= 3 && std::abs(e.args[2].toInteger()) > 18)
                r << e.args[0].text() + " " + e.args[1].text() + " " + e.args[2].text();
        }
        return r;
    }
    MenuServerControl server;
};

TEST_F(TastiCtrlMenu, ShortcutsGoToTheMenuServer)
{
    fuoco(form.txt[0]);
    form.txt[0]->setText("prima");
    QTest::keyClick(form.txt[0], Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(form.txt[0]->text(), "prima");
    QTest::keyClick(form.txt[0], Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form.txt[0]->text(), "testo dal menu");
    QTest::keyClick(form.txt[0], Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(form.txt[0]->text(), "testo dal menu");
    EXPECT_EQ(richieste(), (QStringList{"TastiCtrl Tutti 75", "TastiCtrl Tutti -75", "TastiCtrl Tutti 77"}));

    // In a multi-line box the text goes in at the caret; a field outside "txt" gets nothing.
    fuoco(form.nota);
    form.nota->setPlainText("ab");
    Seleziona(form.nota, 1, 0);
    QTest::keyClick(form.nota, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(form.nota->toPlainText(), "aaltrob");
    fuoco(form.altro);
    QTest::keyClick(form.altro, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(form.altro->text(), "");
    EXPECT_EQ(giUltimoTasto, 76);
    EXPECT_EQ(giUltimoShift, 2);
}

class TrovaSostituisciTest : public Tastiera {
protected:
    void SetUp() override
    {
        Tastiera::SetUp();
        fuoco(form.txt[0]);
    }
    void tasto(Qt::Key k, Qt::KeyboardModifiers m = Qt::ControlModifier | Qt::AltModifier)
    {
        QTest::keyClick(form.txt[0], k, m);
    }
    std::pair<int, int> selezione() const { return {SelStart(form.txt[0]), SelLength(form.txt[0])}; }

    DialoghiInstallati d;
};

TEST_F(TrovaSostituisciTest, FindsForwardBackwardAndAgain)
{
    form.txt[0]->setText("abcabc");
    Seleziona(form.txt[0], 0, 0);
    tasto(Qt::Key_PageDown); // nothing sought yet: nothing happens
    EXPECT_TRUE(d->mostrati().empty());

    d->rispondiTesto(QString("B"));
    tasto(Qt::Key_F);
    EXPECT_EQ(selezione(), std::make_pair(1, 1));
    tasto(Qt::Key_PageDown);
    EXPECT_EQ(selezione(), std::make_pair(4, 1));
    tasto(Qt::Key_PageUp);
    EXPECT_EQ(selezione(), std::make_pair(1, 1));
    d->rispondiTesto(QString("c"));
    tasto(Qt::Key_F, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(selezione(), std::make_pair(5, 1));

    d->rispondiTesto(QString("zz"));
    d->rispondi(RispostaMsg::Ok);
    tasto(Qt::Key_F);
    EXPECT_EQ(selezione(), std::make_pair(5, 1));
    d->rispondiTesto(std::nullopt); // cancelled: nothing sought
    tasto(Qt::Key_F);
    ASSERT_EQ(d->mostrati().size(), 5u);
    EXPECT_EQ(d->mostrati()[0].testo, "Stringa da cercare");
    EXPECT_EQ(d->mostrati()[3].testo, "Testo non trovato");
    EXPECT_EQ(d->mostrati()[3].tipo, DialoghiDiProva::Mostrato::MsgBox);
    EXPECT_EQ(TrovaSostituisci.Cerca, "zz");
    EXPECT_EQ(form.txt[0]->text(), "abcabc");
}

TEST_F(TrovaSostituisciTest, ReplacesTheSelectionOrTheOccurrenceFound)
{
    form.txt[0]->setText("uno due uno");
    Seleziona(form.txt[0], 0, 0);
    d->rispondiTesto(QString("uno"));
    d->rispondiTesto(QString("UNO"));
    tasto(Qt::Key_S); // nothing selected: the first occurrence is replaced and selected
    EXPECT_EQ(form.txt[0]->text(), "UNO due uno");
    EXPECT_EQ(selezione(), std::make_pair(0, 3));

    d->rispondiTesto(QString("uno"));
    d->rispondiTesto(QString("UNO"));
    tasto(Qt::Key_S); // the selection is the text: replaced, the next one selected
    EXPECT_EQ(form.txt[0]->text(), "UNO due uno");
    EXPECT_EQ(selezione(), std::make_pair(8, 3));

    // The selection is replaced; there is no next one.
    d->rispondi(RispostaMsg::Ok);
    tasto(Qt::Key_PageDown, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(form.txt[0]->text(), "UNO due UNO");
    EXPECT_EQ(d->mostrati().back().testo, "Testo non trovato");

    // Backwards: the previous occurrence is replaced.
    Seleziona(form.txt[0], 11, 0);
    tasto(Qt::Key_PageUp, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(form.txt[0]->text(), "UNO due UNO");
    EXPECT_EQ(selezione(), std::make_pair(8, 3));
}

TEST_F(TrovaSostituisciTest, TheRightWindowsKeySwitchesTheLetterCase)
{
    form.txt[0]->setText("Uno uno");
    tasto(Qt::Key_Super_R, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(TrovaSostituisci.Confronto.toInteger(), 0);
    d->rispondiTesto(QString("uno"));
    tasto(Qt::Key_F);
    EXPECT_EQ(selezione(), std::make_pair(4, 3));
    tasto(Qt::Key_Super_R);
    EXPECT_EQ(TrovaSostituisci.Confronto.toInteger(), 1);
    Seleziona(form.txt[0], 0, 0);
    d->rispondiTesto(QString("uno"));
    tasto(Qt::Key_F);
    EXPECT_EQ(selezione(), std::make_pair(0, 3));
}

} // namespace
