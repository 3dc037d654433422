// Field colours: focus colours, the error colour kept through focus changes, prefix boxes.
#include "coloracampi.h"
#include "colori.h"
#include "contesto.h"
#include "contestodiprova.h"

#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr int32_t kFuoco = 0xFFFF80;
constexpr int32_t kSenzaFuoco = static_cast<int32_t>(0x80000005u);

class ColoriCampi : public ::testing::Test {
protected:
    void SetUp() override
    {
        glColBackGotFocus = kFuoco;
        glColBackLostFocus = kSenzaFuoco;
        glColErrore = 255;
        glColNormale = kSenzaFuoco;
        for (int i : {10, 20, 30}) {
            auto *t = new QLineEdit(&form);
            t->setObjectName("txt");
            t->setProperty("Index", i);
            txt.push_back(t);
        }
        altro = new QLineEdit(&form);
        altro->setObjectName("txtAltro");
    }
    ContestoDiProva c;
    QWidget form;
    std::vector<QLineEdit *> txt;
    QLineEdit *altro = nullptr;
};

TEST_F(ColoriCampi, AtMostOneFieldOfTheArrayShowsTheFocusColour)
{
    ColoraCampoAttivo(txt[0], 0);
    EXPECT_EQ(BackColor(txt[0]), kFuoco);
    EXPECT_EQ(coloreQt(kFuoco), txt[0]->palette().color(QPalette::Base));
    // The lost-focus handler of txt(10) did not run: txt(20) getting the focus clears it.
    ImpostaBackColor(altro, kFuoco);
    ColoraCampoAttivo(txt[1], 0);
    EXPECT_EQ(BackColor(txt[0]), kSenzaFuoco);
    EXPECT_EQ(BackColor(txt[1]), kFuoco);
    EXPECT_EQ(BackColor(altro), kFuoco); // not an element of "txt"
    ColoraCampoLasciato(txt[1], 0);
    EXPECT_EQ(BackColor(txt[1]), kSenzaFuoco);

    // With equal colours nothing else is touched.
    glColBackGotFocus = kSenzaFuoco;
    ImpostaBackColor(txt[2], 0x123456);
    ColoraCampoAttivo(txt[0], 0);
    EXPECT_EQ(BackColor(txt[2]), 0x123456);
}

TEST_F(ColoriCampi, AFieldInErrorKeepsItsColourUnlessForced)
{
    ImpostaBackColor(txt[0], glColErrore);
    ColoraCampoAttivo(txt[0], 0);
    EXPECT_EQ(BackColor(txt[0]), 255);
    ColoraCampoLasciato(txt[0], 0);
    EXPECT_EQ(BackColor(txt[0]), 255);
    ColoraCampoAttivo(txt[0], -1);
    EXPECT_EQ(BackColor(txt[0]), kFuoco);
    ImpostaBackColor(txt[0], glColErrore);
    ColoraCampoLasciato(txt[0], -1);
    EXPECT_EQ(BackColor(txt[0]), kSenzaFuoco);
}

TEST_F(ColoriCampi, CercaCampoColoreFindsTheFirstControlOfTheColour)
{
    QString nome;
    int16_t indice = 7;
    EXPECT_FALSE(UtilGenerali::CercaCampoColore(&form, glColErrore, nome, indice));
    ImpostaBackColor(altro, glColErrore);
    ImpostaBackColor(txt[1], glColErrore);
    ImpostaBackColor(txt[2], kFuoco);
    ASSERT_TRUE(UtilGenerali::CercaCampoColore(&form, glColErrore, nome, indice));
    EXPECT_EQ(nome, "txt");
    EXPECT_EQ(indice, 20);
    ImpostaBackColor(txt[1], kSenzaFuoco);
    ASSERT_TRUE(UtilGenerali::CercaCampoColore(&form, glColErrore, nome, indice));
    EXPECT_EQ(nome, "txtAltro");
    EXPECT_EQ(indice, -1);
}

TEST_F(ColoriCampi, PrefixBoxesAreColouredByTheirCheck)
{
    c.parametro("Fat.ElePrefDdt", "BC");
    c.parametro("Ditta.EleRegIvaVen", "AM");
    struct Caso {
        const char *testo;
        int32_t ddt, registro;
    } casi[] = {{" b", kSenzaFuoco, 255}, {"", 255, kSenzaFuoco}, {"M", 255, kSenzaFuoco}, {"BC", 255, 255}};
    for (const Caso &k : casi) {
        txt[2]->setText(k.testo);
        ColoraPrefDdt(txt[2]);
        EXPECT_EQ(BackColor(txt[2]), k.ddt) << k.testo;
        ColoraRegIvaVen(txt[2]);
        EXPECT_EQ(BackColor(txt[2]), k.registro) << k.testo;
        EXPECT_EQ(txt[2]->text(), k.testo); // the text is not trimmed
    }
}

} // namespace
