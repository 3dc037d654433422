// A form of the program as the later forms are built: the standard set-up, its code fields
// decoded when they are left, the lookup window on F2 and the shared keys, on the headless
// screen with the company fixture and the real lookup window.
#include "aiutodiprova.h"
#include "apriaiuto.h"
#include "coloracampi.h"
#include "colori.h"
#include "companyfixture.h"
#include "contestodiprova.h"
#include "decodcampo.h"
#include "eventifuoco.h"
#include "frmaiuto.h"
#include "guard.h"
#include "fuoco.h"
#include "inizmaschera.h"
#include "scratchdb.h"
#include "tasti.h"
#include "tastiera.h"
#include "utilgenerali.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Order type, customer and article with their descriptions, and an OK button.
class FormOrdini : public QWidget, public TastiForm {
    Q_OBJECT
public:
    FormOrdini()
    {
        setObjectName("frmOrdini");
        setWindowTitle("Ordini");
        auto *l = new QVBoxLayout(this);
        int tab = 0;
        for (int i : {20, 40, 200}) {
            auto *t = new QLineEdit(this);
            t->setObjectName("txt");
            t->setProperty("Index", i);
            t->setProperty("TabIndex", tab++);
            auto *d = new QLabel(this);
            d->setObjectName("lab");
            d->setProperty("Index", i);
            l->addWidget(t);
            l->addWidget(d);
            txt[i] = t;
            lab[i] = d;
            SuGotFocus(t, [this, i] { txt_GotFocus(i); });
            SuLostFocus(t, [this, i] { txt_LostFocus(i); });
            t->installEventFilter(this);
        }
        ok = new QPushButton("&Ok", this);
        ok->setObjectName("ComOk");
        ok->setProperty("TabIndex", tab++);
        l->addWidget(ok);
    }

    void Form_Load()
    {
        InizMaschera(this, 0, 0, 0, 0, 0, 0, -1, 0, -1, QString());
        AdattaRisVid(this, 0, 0, 0, 0, 0, 0, 0, -1);
    }
    void Form_KeyDown(int16_t &KeyCode, int16_t Shift) override
    {
        if (GestTastiCtrl(KeyCode, Shift, this, 0, 0, 0, -1, 0, 0, Variant(), 0, -1).toInteger() <= 0) {
            QString p1, p2;
            GestTastiNavig(KeyCode, Shift, this, 0, 0, 0, -1, 0, 0, Variant(), p1, p2, -1);
        }
    }
    void Form_KeyPress(int16_t &KeyAscii) override { KeyAscii = FiltraTasto(KeyAscii, this).toInteger(); }

    Q_INVOKABLE void txt_KeyUp(int Index, int KeyCode, int Shift)
    {
        if (KeyCode < 113 || KeyCode > 116 || Shift != 0)
            return;
        int16_t scelto = 0;
        if (Index == 20)
            ApriAiuto("FattDocumento", txt[20], lab[20], static_cast<int16_t>(KeyCode), std::nullopt, scelto, {}, 0,
                      "tipo=" + UtilGenerali::SqlValore(Variant("O"), 8));
        else if (Index == 40)
            ApriAiuto("Conto", txt[40], lab[40], static_cast<int16_t>(KeyCode), Variant("3"), scelto, {}, 0, {});
        else
            ApriAiuto("Articolo", txt[200], lab[200], static_cast<int16_t>(KeyCode), std::nullopt, scelto, {}, 0, {});
    }

    std::map<int, QLineEdit *> txt;
    std::map<int, QLabel *> lab;
    QPushButton *ok;
    QStringList tipoEvasione;

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::KeyRelease) {
            auto *k = static_cast<QKeyEvent *>(e);
            const int indice = o->property("Index").toInt();
            guarded("txt_KeyUp", [&] { txt_KeyUp(indice, KeyCodeVb(*k), ShiftVb(k->modifiers())); });
        }
        return QWidget::eventFilter(o, e);
    }

private:
    void txt_GotFocus(int i)
    {
        SelezionaTesto();
        if (i == 40)
            ContoGotFocus(txt[40]);
        ColoraCampoAttivo(txt[i], 0);
    }
    void txt_LostFocus(int i)
    {
        ColoraCampoLasciato(txt[i], 0);
        if (i == 20) {
            Variant campi(VariantArray{0, {Variant("FattDocEvasione"), Variant("RegimeMargine")}});
            CodiceLostFocus("FattDocumento", txt[20], lab[20], std::nullopt, 0, 0, {}, &campi,
                            "tipo=" + UtilGenerali::SqlValore(Variant("O"), 8), 0, 0);
            tipoEvasione.clear();
            for (const Variant &v : campi.toArray().items)
                tipoEvasione << v.text();
        } else if (i == 40) {
            ContoLostFocus(txt[40], lab[40], -1, 3, nullptr, -1);
        } else {
            CodiceLostFocus("Articolo", txt[200], lab[200], std::nullopt, 0, 0, {}, nullptr, {}, 0, 0);
        }
    }
};

// Acts on the lookup window once it is on the screen (the form may let pending events run
// before it opens it).
void quandoAperta(std::function<void(QLineEdit *ricerca)> azioni)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, azioni] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || w->windowTitle() != QLatin1String("Aiuto"))
            return;
        timer->stop();
        timer->deleteLater();
        azioni(w->findChild<QLineEdit *>("txtRicerca"));
    });
    timer->start();
}

class Maschera : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = ScratchDb::create(Engine::SQLite);
        ASSERT_TRUE(db);
        c.creaDitta(*db, suite::FixtureOptions{.orders = 1, .customers = 4, .articles = 8});
        InstallaFinestraAiuto(installaAiutoDiProva());
        gsDescAzie = "Ditta Prova";
        glColBackGotFocus = 0xFFFF80;
        glColBackLostFocus = static_cast<int32_t>(0x80000005u);
        gsDecodHelpAbil = "N";
        form.setProperty("osParam", "/F frmOrdini");
        form.Form_Load();
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.txt[20]->setFocus(Qt::TabFocusReason);
    }

    // Types the text into the field that has the focus, then Enter.
    void digita(const QString &testo)
    {
        QWidget *w = QApplication::focusWidget();
        QTest::keyClicks(w, testo);
        QTest::keyClick(w, Qt::Key_Return);
    }

    ContestoDiProva c;
    std::unique_ptr<ScratchDb> db;
    FormOrdini form;
};

TEST_F(Maschera, TheFieldsAreDecodedWhenLeftAndEnterWalksThem)
{
    EXPECT_EQ(form.windowTitle(), "Ordini - Ditta Prova");
    EXPECT_EQ(form.property("oiAbilRW").toInt(), 1);
    EXPECT_EQ(BackColor(form.txt[20]), 0xFFFF80);

    digita("oc");
    EXPECT_EQ(form.lab[20]->text(), "Ordine cliente");
    EXPECT_EQ(form.tipoEvasione, (QStringList{"DDT", "N"}));
    EXPECT_EQ(QApplication::focusWidget(), form.txt[40]);
    EXPECT_EQ(BackColor(form.txt[20]), static_cast<int32_t>(0x80000005u));
    EXPECT_EQ(BackColor(form.txt[40]), 0xFFFF80);

    digita("14010002");
    EXPECT_EQ(form.txt[40]->text(), "14-01-0002");
    EXPECT_EQ(form.lab[40]->text(), "Cliente 0002");
    EXPECT_EQ(QApplication::focusWidget(), form.txt[200]);

    digita("nessuno");
    EXPECT_EQ(form.lab[200]->text(), "** INESISTENTE **");
    EXPECT_EQ(QApplication::focusWidget(), form.ok);

    // Back to the account field: shown as typed, all selected.
    QTest::keyClick(form.ok, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.txt[200]);
    form.txt[40]->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(form.txt[40]->text(), "14010002");
    EXPECT_EQ(form.txt[40]->selectedText(), "14010002");
}

TEST_F(Maschera, F2OpensTheLookupWindowAndTheChoiceIsDecoded)
{
    form.txt[200]->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(form.txt[200], "ART0000");
    bool aperta = false;
    quandoAperta([&](QLineEdit *ricerca) {
        aperta = true;
        QTest::keyClick(ricerca, Qt::Key_End); // the proposed text is selected: typing would replace it
        QTest::keyClicks(ricerca, "4");
        QTest::keyClick(ricerca, Qt::Key_Return);
    });
    QTest::keyClick(form.txt[200], Qt::Key_F2);
    EXPECT_TRUE(aperta);
    EXPECT_EQ(form.txt[200]->text(), suite::articleCode(4));
    EXPECT_EQ(form.lab[200]->text(), "Articolo 4");

    // With "DecodHelpAbil" "C" a code that does not decode opens the window by itself.
    QApplication::setActiveWindow(&form); // the form active again once the window has closed
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    ASSERT_EQ(QApplication::focusWidget(), form.txt[200]);
    gsDecodHelpAbil = "C";
    form.txt[200]->selectAll();
    QTest::keyClicks(form.txt[200], "ART0000");
    aperta = false;
    quandoAperta([&](QLineEdit *ricerca) {
        aperta = true;
        QTest::keyClick(ricerca, Qt::Key_Down);
        QTest::keyClick(ricerca, Qt::Key_Return);
    });
    QTest::keyClick(form.txt[200], Qt::Key_Return);
    EXPECT_TRUE(aperta);
    EXPECT_EQ(form.txt[200]->text(), suite::articleCode(2));
    EXPECT_EQ(form.lab[200]->text(), "Articolo 2");
}

} // namespace

#include "test_maschera.moc"
