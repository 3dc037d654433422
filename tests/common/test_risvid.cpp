// Screen fitting of forms: the factor from the settings or the screen, its reduction to the
// screen and above a bottom taskbar, and what scaling does to a form and its controls.
#include "contesto.h"
#include "risvid.h"
#include "schermo.h"
#include "scrivifile.h"

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

GeometriaSchermo schermo(int w, int h, QRect disponibile = {})
{
    GeometriaSchermo g;
    g.schermo = QRect(0, 0, w, h);
    g.disponibile = disponibile.isNull() ? g.schermo : disponibile;
    return g;
}

// A 400 x 300 form at the screen's corner: a text-box array txt(0..2), a button, a picture.
struct FormProva {
    QWidget form;
    std::vector<QLineEdit *> txt;
    QPushButton *cmd = new QPushButton("OK", &form);
    QLabel *img = new QLabel(&form);

    FormProva()
    {
        form.setGeometry(0, 0, 400, 300);
        QFont f = form.font();
        f.setPointSizeF(8);
        form.setFont(f);
        for (int i = 0; i < 3; ++i) {
            auto *t = new QLineEdit(&form);
            t->setObjectName("txt");
            t->setProperty("Index", i);
            t->setGeometry(10, 10 + 30 * i, 100, 20);
            txt.push_back(t);
        }
        cmd->setObjectName("cmdOk");
        cmd->setGeometry(200, 100, 80, 30);
        img->setObjectName("imgLogo");
        img->setPixmap(QPixmap(16, 16));
        img->setGeometry(300, 10, 16, 16);
    }
};

class RisVid : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_prima = impostaGeometriaSchermo(schermo(1024, 768));
        gdRisVidGen = 0;
        gdRisVidPers = 0;
    }
    void TearDown() override
    {
        impostaGeometriaSchermo(m_prima);
        gdRisVidGen = gdRisVidPers = 0;
        gsFileIni.clear();
        gsProgramma.clear();
    }
    std::optional<GeometriaSchermo> m_prima;
};

TEST_F(RisVid, TheScreenFactorIsTheSmallerQuotientToHundredths)
{
    struct Caso {
        int w, h;
        double fattore;
    };
    for (const Caso &c : {Caso{800, 600, 1}, Caso{1024, 768, 1.28}, Caso{1280, 1024, 1.6}, Caso{640, 480, 0.8},
                          Caso{1280, 800, 1.33}, Caso{0, 0, 1}}) {
        impostaGeometriaSchermo(schermo(c.w, c.h));
        int16_t w = 0, h = 0;
        EXPECT_DOUBLE_EQ(LeggiRisSchermo(w, h), c.fattore) << c.w << "x" << c.h;
        EXPECT_EQ(w, c.w);
        EXPECT_EQ(h, c.h);
    }
}

TEST_F(RisVid, TheTaskbarIsWhereTheFreeAreaStopsShort)
{
    impostaGeometriaSchermo(schermo(1024, 768, QRect(0, 0, 1024, 728)));
    int16_t bordo = 0, sempre = 0;
    int32_t top = -7, left = -7, right = -7, bottom = -7;
    EXPECT_FALSE(LeggiBarraApp(bordo, sempre, top, left, right, bottom));
    EXPECT_EQ(bordo, BordoBarra::Basso);
    EXPECT_EQ(sempre, -1);
    EXPECT_EQ((std::vector<int32_t>{top, left, right, bottom}), (std::vector<int32_t>{728, 0, 1024, 768}));
    EXPECT_EQ(PosizioneSopraBarra(), 728 * 15);

    // on the left, or hiding itself: the whole screen height is usable
    impostaGeometriaSchermo(schermo(1024, 768, QRect(60, 0, 964, 768)));
    top = -7;
    LeggiBarraApp(bordo, sempre, top, left, right, bottom);
    EXPECT_EQ(bordo, BordoBarra::Sinistra);
    EXPECT_EQ(right, 60);
    EXPECT_EQ(PosizioneSopraBarra(), 768 * 15);
    GeometriaSchermo nascosta = schermo(1024, 768, QRect(0, 0, 1024, 728));
    nascosta.barraAutoNascosta = true;
    impostaGeometriaSchermo(nascosta);
    EXPECT_EQ(PosizioneSopraBarra(), 768 * 15);

    // no panel at all: the rectangle is left alone
    impostaGeometriaSchermo(schermo(800, 600));
    top = -7;
    LeggiBarraApp(bordo, sempre, top, left, right, bottom);
    EXPECT_EQ(bordo, BordoBarra::Nessuno);
    EXPECT_EQ(sempre, 0);
    EXPECT_EQ(top, -7);
}

TEST_F(RisVid, SwitchedOffOrAFactorOfOneLeavesTheFormAsItIs)
{
    for (double generale : {-1.0, 1.0}) {
        gdRisVidGen = generale;
        FormProva f;
        double fattore = -2;
        EXPECT_EQ(RisVidForm(&f.form, false, fattore), 1);
        EXPECT_EQ(fattore, 1);
        EXPECT_EQ(f.form.property("odRisVidVal").toDouble(), 1);
        EXPECT_EQ(f.form.size(), QSize(400, 300));
        EXPECT_EQ(f.txt[1]->geometry(), QRect(10, 40, 100, 20));
        EXPECT_EQ(f.form.font().pointSizeF(), 8);
    }
}

TEST_F(RisVid, AScreenFactorShrinksToTheTaskbarAndTheRightEdge)
{
    // 1.28 fits: 300 px high at the top of a 768 px screen with a bar from 728
    impostaGeometriaSchermo(schermo(1024, 768, QRect(0, 0, 1024, 728)));
    FormProva f;
    double fattore = -2;
    EXPECT_DOUBLE_EQ(RisVidForm(&f.form, false, fattore), 1.28);
    EXPECT_EQ(f.form.size(), QSize(512, 384));
    EXPECT_EQ(f.cmd->geometry(), QRect(256, 128, 102, 38));
    EXPECT_DOUBLE_EQ(f.form.font().pointSizeF(), 8 * 1.28);
    EXPECT_DOUBLE_EQ(f.form.property("odRisVidVal").toDouble(), 1.28);

    // a form 600 px high would reach under the bar: the factor makes it end on the bar's top
    FormProva alto;
    alto.form.setGeometry(0, 0, 400, 600);
    fattore = 0;
    EXPECT_DOUBLE_EQ(RisVidForm(&alto.form, false, fattore), 728.0 / 600.0);
    // one 900 px wide would leave the screen on the right
    impostaGeometriaSchermo(schermo(1024, 768));
    FormProva largo;
    largo.form.setGeometry(0, 0, 900, 200);
    fattore = 0;
    EXPECT_NEAR(RisVidForm(&largo.form, false, fattore), 1024.0 / 900.0, 1e-12);
}

TEST_F(RisVid, AnExplicitFactorIsReducedOnlyInHeightForABottomTaskbar)
{
    gdRisVidGen = 1.5;
    impostaGeometriaSchermo(schermo(1024, 768, QRect(60, 0, 964, 768)));
    FormProva f;
    f.form.setGeometry(0, 0, 900, 600);
    double fattore = -2;
    EXPECT_EQ(RisVidForm(&f.form, false, fattore), 1.5);

    impostaGeometriaSchermo(schermo(1024, 768, QRect(0, 0, 1024, 728)));
    FormProva g;
    g.form.setGeometry(0, 0, 900, 600);
    fattore = -2;
    EXPECT_DOUBLE_EQ(RisVidForm(&g.form, false, fattore), 728.0 / 600.0);
    // only computed: the form stays as it is
    FormProva h;
    fattore = -2;
    EXPECT_EQ(RisVidForm(&h.form, true, fattore), 1.5);
    EXPECT_EQ(h.form.size(), QSize(400, 300));
}

TEST_F(RisVid, PerFormKeysFallBackToThePersonalBase)
{
    QTemporaryDir dir;
    gsFileIni = scriviFile(dir.filePath("suite.ini"), "[Risoluzione Video]\nEVAORD-SEC1=1.1\nSpeciale=0,9\n");
    gsProgramma = "EVAORD";
    gdRisVidGen = -2;
    gdRisVidPers = 1.2;
    struct Caso {
        QString chiaveForm, keySec;
        double atteso;
    };
    for (const Caso &c : {Caso{"", "SEC1", 1.1}, Caso{"Speciale", "SEC1", 0.9}, Caso{"", "ALTRA", 1.2}}) {
        FormProva f;
        f.form.setProperty("osRisVidKey", c.chiaveForm);
        f.form.setProperty("osKeySec", c.keySec);
        double fattore = -2;
        EXPECT_DOUBLE_EQ(RisVidForm(&f.form, true, fattore), c.atteso) << c.chiaveForm.toStdString();
    }
    // a personal base of 0 computes from the screen
    gdRisVidPers = 0;
    FormProva f;
    double fattore = -2;
    EXPECT_DOUBLE_EQ(RisVidForm(&f.form, true, fattore), 1.28);
}

TEST_F(RisVid, ExceptionsKeepPlacesSizesOrFontsAndFixedPicturesStay)
{
    FormProva f;
    RidimensionaControlli(&f.form, 2, {{"TXT", -1, RisVidTieni::Posizione | RisVidTieni::Dimensione}, {"txt", 2, 4}});
    for (QLineEdit *t : f.txt)
        EXPECT_EQ(t->geometry(), QRect(10, 10 + 30 * t->property("Index").toInt(), 100, 20));
    EXPECT_EQ(f.txt[0]->font().pointSizeF(), 16);
    EXPECT_EQ(f.txt[1]->font().pointSizeF(), 16);
    // the first exception that names the array decides for every element
    EXPECT_EQ(f.txt[2]->font().pointSizeF(), 16);
    EXPECT_EQ(f.cmd->geometry(), QRect(400, 200, 160, 60));
    EXPECT_EQ(f.img->geometry(), QRect(300, 10, 16, 16));
    EXPECT_EQ(f.img->font().pointSizeF(), 8);

    FormProva g;
    RidimensionaControlli(&g.form, 2, {{"txt", 2, RisVidTieni::Carattere}});
    EXPECT_EQ(g.txt[2]->font().pointSizeF(), 8);
    EXPECT_EQ(g.txt[1]->font().pointSizeF(), 16);
    EXPECT_EQ(g.txt[2]->geometry(), QRect(20, 140, 200, 40));
}

} // namespace
