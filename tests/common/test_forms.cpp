#include "agganciprova.h"
#include "campodata.h"
#include "colori.h"
#include "contesto.h"
#include "dialoghidiprova.h"
#include "forms.h"
#include "fuoco.h"
#include "gestioneforms.h"
#include "puntatore.h"
#include "stampaqt.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QStringList gScaricate;

// A form that records its unload and may refuse it.
class FormProva : public QWidget {
    Q_OBJECT
public:
    FormProva(const QString &nome, const QString &caption, bool rifiuta = false) : m_rifiuta(rifiuta)
    {
        setObjectName(nome);
        setWindowTitle(caption);
    }
    bool m_rifiuta;

protected:
    void closeEvent(QCloseEvent *e) override
    {
        if (m_rifiuta) {
            e->ignore();
            return;
        }
        gScaricate << objectName();
        e->accept();
    }
};

// The lookup window of the help component: ChiudiAiuto unloads it (or not).
class FormAiuto : public FormProva {
    Q_OBJECT
public:
    explicit FormAiuto(bool chiude = true) : FormProva("FormAiuto", "Aiuto"), m_chiude(chiude) {}
    Q_INVOKABLE void ChiudiAiuto()
    {
        if (m_chiude)
            Forms::Scarica(this);
    }

private:
    bool m_chiude;
};

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override { gScaricate.clear(); }
    void TearDown() override
    {
        for (QWidget *f : Forms::Elenco()) {
            if (auto *p = qobject_cast<FormProva *>(f))
                p->m_rifiuta = false;
            Forms::Scarica(f);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static QWidget *carica(const QString &nome, const QString &caption, bool rifiuta = false)
    {
        return Forms::Carica(std::make_unique<FormProva>(nome, caption, rifiuta));
    }
};

TEST_F(FormsTest, ScaricaFormsNewestFirstAndTheHelpWindowLast)
{
    carica("frmPrincipale", "Form Principale del programma");
    carica("frmEvasOrd", "Evasione ordini");
    Forms::Carica(std::make_unique<FormAiuto>());
    carica("frmEvaManu", "Evasione manuale");
    int16_t esito = -1;
    EXPECT_TRUE(ScaricaForms(esito, "form principale del programma"));
    EXPECT_EQ(esito, 0);
    EXPECT_EQ(gScaricate, (QStringList{"frmEvaManu", "frmEvasOrd", "FormAiuto"}));
    EXPECT_EQ(Forms::Count(), 1);
    EXPECT_EQ(IndiceForm("frmPrincipale"), 0);
}

TEST_F(FormsTest, AFormThatRefusesStopsTheWalk)
{
    carica("frmPrincipale", "Principale");
    carica("frmA", "A");
    QWidget *b = carica("frmB", "B", true);
    carica("frmC", "C");
    int16_t esito = -1;
    EXPECT_FALSE(ScaricaForms(esito, "Principale"));
    EXPECT_EQ(esito, 0);
    EXPECT_EQ(gScaricate, QStringList{"frmC"});
    EXPECT_TRUE(b->isVisible()); // shown again
    EXPECT_EQ(Forms::Count(), 3);

    // At position 0 the refusing form is not shown.
    TearDown();
    QWidget *primo = carica("frmA", "A", true);
    EXPECT_FALSE(ScaricaForms(esito, "Principale"));
    EXPECT_FALSE(primo->isVisible());
}

TEST_F(FormsTest, AHelpWindowThatStaysLeavesTheFlagSet)
{
    carica("frmPrincipale", "Principale");
    QWidget *aiuto = Forms::Carica(std::make_unique<FormAiuto>(false));
    int16_t esito = -1;
    EXPECT_FALSE(ScaricaForms(esito, "Principale"));
    EXPECT_EQ(esito, 1);
    EXPECT_TRUE(aiuto->isVisible());
}

TEST_F(FormsTest, FindingFormsByName)
{
    carica("frmEvasOrd", "Evasione ordini - Ditta 1");
    carica("frmEvasOrd", "Evasione ordini - Ditta 2");
    EXPECT_TRUE(FormCaricata("FRMEVASORD"));
    EXPECT_FALSE(FormCaricata("frmEvaManu"));
    EXPECT_EQ(IndiceForm("frmevasord"), 0);
    EXPECT_EQ(IndiceForm("frmEvasOrd", QString("DITTA 2")), 1);
    EXPECT_EQ(IndiceForm("frmEvasOrd", QString("Ditta 3")), -1);
    EXPECT_EQ(IndiceForm("frmEvaManu"), -1);
}

TEST_F(FormsTest, NascondiFormsHidesOnlyFormsThatAskIt)
{
    QWidget *con = carica("frmCon", "Con");
    QWidget *senza = carica("frmSenza", "Senza");
    con->setProperty("oiNoHelp", 1);
    con->show();
    senza->show();
    NascondiForms();
    EXPECT_FALSE(con->isVisible());
    EXPECT_EQ(con->property("oiNoHelp").toInt(), 2);
    EXPECT_TRUE(senza->isVisible());
}

TEST_F(FormsTest, TentaChiusuraAsksOnlyWithAFlag)
{
    AgganciDiProva a;
    int16_t flag = 0;
    EXPECT_TRUE(TentaChiusura(flag));
    EXPECT_EQ(a.terminazioni, 1);

    QDialog modale;
    modale.setWindowModality(Qt::ApplicationModal);
    modale.show();
    QCoreApplication::processEvents();
    flag = 1;
    EXPECT_FALSE(TentaChiusura(flag));
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(a.terminazioni, 1);
    // Flag 0 does not ask.
    EXPECT_TRUE(TentaChiusura(flag));
    EXPECT_EQ(a.terminazioni, 2);
    modale.hide();
    QCoreApplication::processEvents();
    flag = 1;
    EXPECT_TRUE(TentaChiusura(flag));
    EXPECT_EQ(a.terminazioni, 3);
}

TEST(Clessidra, SecondSwitchOnKeepsThePointerSavedFirst)
{
    ImpostaMousePointer(3);
    Clessidra(true);
    EXPECT_EQ(MousePointer(), 11);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Clessidra(true);
    Clessidra(false);
    EXPECT_EQ(MousePointer(), 3);
    ImpostaMousePointer(0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A form with tab positions 0..5: 2 a label, 3 disabled, 4 a picture box.
class FormTab : public QWidget {
    Q_OBJECT
public:
    FormTab()
    {
        setObjectName("frmTab");
        for (int i = 0; i < 6; ++i) {
            QWidget *w = nullptr;
            if (i == 2) {
                w = new QLabel("etichetta", this);
            } else {
                auto *e = new QLineEdit(this);
                e->setObjectName("txt");
                e->setProperty("Index", i);
                e->setText(QStringLiteral("testo %1").arg(i));
                w = e;
            }
            w->setProperty("TabIndex", i);
            w->setGeometry(0, i * 25, 100, 22);
            c[i] = w;
        }
        c[3]->setEnabled(false);
        c[4]->setProperty("PictureBox", true);
    }
    Q_INVOKABLE void txt_KeyUp(int index, int keyCode, int shift) { chiamate << QStringLiteral("%1 %2 %3").arg(index).arg(keyCode).arg(shift); }
    QWidget *c[6] = {};
    QStringList chiamate;
};

class Fuoco : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    void vai(int i)
    {
        form.c[i]->setFocus();
        QCoreApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), form.c[i]);
    }
    FormTab form;
};

TEST_F(Fuoco, SpostaFuocoWrapsAndPassesOverWhatCannotHaveTheFocus)
{
    struct Caso {
        int da, passo;
        std::optional<int16_t> shift;
        int a;
    };
    const Caso casi[] = {
        {0, 1, std::nullopt, 1},
        {1, 1, std::nullopt, 5},    // label, disabled box and picture box passed over
        {5, 1, std::nullopt, 0},    // from the highest tab stop back to 0
        {0, -1, std::nullopt, 5},
        {5, -1, std::nullopt, 1},
        {1, 1, int16_t(1), 0},      // shift 1: backwards
        {0, -1, int16_t(0), 1},     // another shift: forwards
    };
    for (const auto &k : casi) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(k.da).arg(k.passo).toStdString());
        vai(k.da);
        EXPECT_TRUE(SpostaFuoco(static_cast<int16_t>(k.passo), k.shift));
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), form.c[k.a]);
    }
}

TEST_F(Fuoco, SelezionaTestoSelectsTheWholeText)
{
    vai(1);
    SelezionaTesto();
    EXPECT_EQ(static_cast<QLineEdit *>(form.c[1])->selectedText(), "testo 1");
}

TEST_F(Fuoco, EseguiKeyUpAppoFocusesTheBoxAndCallsItsHandler)
{
    vai(0);
    EseguiKeyUpAppo(&form, 5, 113, 0);
    EXPECT_EQ(QApplication::focusWidget(), form.c[5]);
    EXPECT_EQ(form.chiamate, QStringList{"5 113 0"});
    try {
        EseguiKeyUpAppo(&form, 9, 113, 0);
        ADD_FAILURE();
    } catch (const AppError &e) {
        EXPECT_EQ(e.number(), 340);
    }
    try {
        EseguiKeyUpAppo(&form, 1, 113, 1); // no txtAppo array
        ADD_FAILURE();
    } catch (const AppError &e) {
        EXPECT_EQ(e.number(), 340);
    }
}

class CampoData : public Fuoco {
protected:
    void SetUp() override
    {
        Fuoco::SetUp();
        gsDataMinima = "01/01/1900";
        glColErrore = 255;
        glColNormale = static_cast<int32_t>(0x80000005u);
        box = static_cast<QLineEdit *>(form.c[1]);
    }
    void TearDown() override { azzeraContesto(); }
    QLineEdit *box = nullptr;
};

TEST_F(CampoData, DateBeforeTheSmallestIsRefused)
{
    for (int16_t modo : {1, 2, 3}) {
        SCOPED_TRACE(modo);
        vai(0);
        ImpostaBackColor(box, glColNormale);
        box->setText("31/12/1899");
        Variant messaggio;
        EXPECT_EQ(ControllaCampoData(box, Variant(int16_t(-2)), modo, std::nullopt, &messaggio, false), -657434);
        EXPECT_EQ(messaggio.text(), "Data troppo piccola");
        EXPECT_EQ(BackColor(box), modo == 2 ? glColNormale : glColErrore);
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget() == box, modo >= 2);
    }
    DialoghiInstallati d;
    d->rispondi(1);
    ControllaCampoData(box, Variant(int16_t(-2)), 1, std::nullopt, nullptr, true);
    EXPECT_EQ(d->testi(), QStringList{"Data troppo piccola"});
}

TEST_F(CampoData, ValidEmptyAndWrongDates)
{
    ImpostaBackColor(box, glColErrore);
    box->setText("5/3/24");
    const int32_t codice = ControllaCampoData(box, Variant(int16_t(-2)), 1);
    EXPECT_EQ(codice, static_cast<int32_t>(Date::fromYmd(2024, 3, 5).serial()));
    EXPECT_EQ(box->text(), "05/03/2024");
    EXPECT_EQ(BackColor(box), glColNormale);

    box->setText("");
    EXPECT_EQ(ControllaCampoData(box, Variant(int16_t(-2)), 1, Variant(int32_t(0xFFFF80))), 0);
    EXPECT_EQ(BackColor(box), 0xFFFF80);
    EXPECT_EQ(ControllaCampoData(box, Variant(int16_t(-4)), 1), -2); // a required date
    EXPECT_EQ(BackColor(box), glColErrore);

    ImpostaBackColor(box, glColNormale);
    box->setText("31/02/2024");
    EXPECT_EQ(ControllaCampoData(box, Variant(int16_t(-2)), 1), -657434);
    EXPECT_EQ(BackColor(box), glColErrore);
}

TEST(Colori, SystemAndBgrColours)
{
    EXPECT_EQ(coloreQt(255), QColor(255, 0, 0));
    EXPECT_EQ(coloreQt(0xFFFF80), QColor(0x80, 0xFF, 0xFF));
    EXPECT_EQ(coloreQt(static_cast<int32_t>(0x80000005u)), QGuiApplication::palette().color(QPalette::Base));
}

} // namespace

#include "test_forms.moc"
