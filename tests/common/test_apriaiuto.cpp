// Opening the lookup window: what the user's settings hand to the help component.
#include "apriaiuto.h"
#include "formdittaprova.h"
#include "schermo.h"
#include "scrivifile.h"

#include <QTemporaryDir>

namespace {

void azzeraImmagini()
{
    gsImmaginiArticoli.clear();
    gsDirImgArt.clear();
    gdImgRapVertOriz = 0;
    gbImgDimReali = false;
    gsImgDove.clear();
    glImgSpazio = 0;
}

TEST(AnalizzaFormato, TheKindOfAccountSearched)
{
    struct Caso {
        Variant formato;
        const char *codice;
        int16_t tasto;
        const char *tipo;
    } casi[] = {
        {Variant("3"), "", 113, "3"},    {Variant("3"), "g1", 114, "3"},   {Variant(int16_t(3)), "", 114, "3"},
        {Variant("-4"), "", 113, "0"},   {Variant("-2"), "", 113, "2"},    {Variant("-3"), "c1", 114, "3"},
        {Variant("-3"), "1401", 114, "0"}, {Variant("-3"), "F", 115, "2"}, {Variant("xc"), "", 114, "3"},
        {Variant("xc"), "", 113, "0"},   {Variant("c3"), "", 113, "3"},    {Variant("c3"), "", 114, "3"},
        {Variant(), "", 113, ""},        {Variant(), "g", 114, "1"},       {Variant(), "c", 114, "3"},
        {Variant(), "f", 115, "2"},      {Variant(), "1", 114, "0"},       {Variant("x2"), "2x", 114, "0"},
        {Variant("g"), "c", 114, "3"},   {Variant("g"), "7", 114, "1"},    {Variant("XC"), "", 114, "3"},
    };
    for (const Caso &c : casi) {
        Variant tipo;
        AnalizzaFormato(c.formato, c.codice, Variant(c.tasto), tipo);
        EXPECT_EQ(tipo.text(), c.tipo) << c.formato.text().toStdString() << " " << c.codice << " " << c.tasto;
    }
}

class ApriAiutoTest : public FormDittaProva {
protected:
    void SetUp() override
    {
        FormDittaProva::SetUp();
        azzeraImmagini();
    }
    void TearDown() override { azzeraImmagini(); }

    Variant apri(const QString &tipo, int16_t tasto, const std::optional<Variant> &formato = std::nullopt,
                 const QString &prefisso = {}, const QString &filtro = {})
    {
        scelto = 0;
        return ApriAiuto(tipo, codice, descrizione, tasto, formato, scelto, prefisso, 0, filtro);
    }

    int16_t scelto = 0;
};

TEST_F(ApriAiutoTest, OnlyTheFunctionKeysFromF2AndTheNegativeCodesOpenTheWindow)
{
    for (int16_t tasto : {112, 124, 0, 13, 200}) {
        EXPECT_TRUE(apri("Moneta", tasto).isEmpty()) << tasto;
    }
    EXPECT_TRUE(finestra->aperture.empty());
    for (int16_t tasto : {-1, -3, 113, 118, 123})
        EXPECT_EQ(apri("Moneta", tasto).toInteger(), 0) << tasto;
    EXPECT_EQ(finestra->aperture.size(), 5u);

    finestra->scegli = FinestraAiutoDiProva::primoTrovato;
    codice->setText("US");
    apri("Moneta", 113);
    EXPECT_EQ(scelto, -1);
    EXPECT_EQ(codice->text(), "USD");
    EXPECT_EQ(descrizione->text(), "Dollaro USA");
}

TEST_F(ApriAiutoTest, AccountColumnsArePerKindWithTheGeneralListAsFallback)
{
    c.personale("Help", "ContoCampi3", "Descrizione,Conto");
    c.personale("Help", "ContoCampi", "Conto, Descrizione");
    apri("Conto", 113, Variant("3"));
    apri("Conto", 113, Variant("-1"));           // kind 1: no list of its own
    apri("Conto", 113, Variant("-4"), "Gruppo,"); // no kind; the caller's prefix first
    c.personale("Help", "ContoCampi3", ",No,Descrizione");
    apri("Conto", 113, Variant("3"));            // ",No," drops the list
    ASSERT_EQ(finestra->aperture.size(), 4u);
    EXPECT_EQ(finestra->aperture[0].intestazioni, (QStringList{"Descrizione", "Conto"}));
    EXPECT_EQ(finestra->aperture[1].intestazioni, (QStringList{"Conto", "Descrizione"}));
    EXPECT_EQ(finestra->aperture[2].intestazioni, (QStringList{"Gruppo", "Conto", "Descrizione"}));
    EXPECT_EQ(finestra->aperture[3].intestazioni, (QStringList{"Gruppo", "Mastro", "Conto", "Descrizione"}));
    EXPECT_EQ(letture("Help", "ContoCampi3"), 2);
    EXPECT_EQ(letture("Help", "ContoCampi1"), 1);
    EXPECT_EQ(letture("Help", "ContoCampi"), 2);
}

TEST_F(ApriAiutoTest, SettingsOfTheCallAndWhatIsPutBackAfterIt)
{
    GestoreAiuto &aiuto = *ggAiuto;
    glColBackGotFocus = 0xFFFF80;
    aiuto.OggettoDecodifica().olColBackOk = 123;
    c.personale("Help", "MonetaSQLPass", "s");
    c.personale("Tutti", "CFHelpRic11", "A");
    int32_t coloreDurante = 0;
    Variant immaginiDurante;
    finestra->scegli = [&](const RichiestaRicerca &) -> std::optional<int> {
        coloreDurante = aiuto.OggettoDecodifica().olColBackOk;
        immaginiDurante = aiuto.OggettoRicerca().ovLeggiPar("MostraImg");
        return std::nullopt;
    };
    apri("Moneta", 114, std::nullopt, {}, "Cee <> 'S'");
    ASSERT_EQ(finestra->aperture.size(), 1u);
    EXPECT_EQ(finestra->aperture[0].modo, ModoRicerca::Descrizione);
    EXPECT_EQ(finestra->aperture[0].trovati, QStringList{"USD"});
    EXPECT_EQ(coloreDurante, 0xFFFF80);
    EXPECT_FALSE(immaginiDurante.toBool());
    EXPECT_EQ(aiuto.OggettoDecodifica().olColBackOk, 123);
    EXPECT_TRUE(aiuto.OggettoRicerca().ogComlin().ovLeggiPar("ForzaPassThrough").toBool());
    EXPECT_EQ(aiuto.OggettoRicerca().ogComlin().ovLeggiPar("MargDestra").toInteger(), 0);
    EXPECT_TRUE(aiuto.OggettoDecodifica().ovLeggiPar("CFHelpRic11").isEmpty()); // only account lookups set it
    apri("Conto", 113);
    EXPECT_EQ(aiuto.OggettoDecodifica().ovLeggiPar("CFHelpRic11").text(), "A");
    EXPECT_FALSE(aiuto.OggettoRicerca().ogComlin().ovLeggiPar("ForzaPassThrough").toBool());
    EXPECT_FALSE(aiuto.LeggiParametro("MostraImg").toBool());
}

TEST_F(ApriAiutoTest, ArticlePicturesAreReadOnceAndHandedOver)
{
    QTemporaryDir cartella;
    gsFileIni = scriviFile(cartella.filePath("suite.ini"), "[Base]\nDirImgArt=D:\\Foto\\Articoli\nDriveDB=E:\n");
    gsIniScelta.clear();
    c.personale("Articoli", "Immagini", "S");
    c.personale("Articoli", "ImgDove", "A");
    c.personale("Articoli", "ImgRapVertOriz", "0,75");
    c.personale("Articoli", "ImgDimReali", "N");
    GestoreAiuto &aiuto = *ggAiuto;
    Variant margineDurante;
    finestra->scegli = [&](const RichiestaRicerca &) -> std::optional<int> {
        margineDurante = aiuto.OggettoRicerca().ogComlin().ovLeggiPar("MargSopra");
        return std::nullopt;
    };
    apri("Articolo", 113);
    ASSERT_EQ(finestra->aperture.size(), 1u);
    const ImmaginiAiuto &im = finestra->aperture[0].immagini;
    EXPECT_TRUE(im.mostra);
    EXPECT_EQ(im.dove, "A");
    EXPECT_EQ(im.cartella, "D:\\Foto\\Articoli");
    EXPECT_DOUBLE_EQ(im.rapporto, 0.75);
    EXPECT_FALSE(im.dimReali);
    EXPECT_EQ(im.spazio, 2000);
    EXPECT_EQ(margineDurante.toLong(), 2000);
    EXPECT_FALSE(aiuto.LeggiParametro("MostraImg").toBool());

    // Kept: a second lookup reads nothing again; another lookup shows no pictures.
    c.personale("Articoli", "ImgDove", "S");
    apri("Articolo", 113);
    apri("Moneta", 113);
    ASSERT_EQ(finestra->aperture.size(), 3u);
    EXPECT_EQ(finestra->aperture[1].immagini.dove, "A");
    EXPECT_FALSE(finestra->aperture[2].immagini.mostra);
    EXPECT_EQ(letture("Articoli", "ImgDove"), 1);
    EXPECT_EQ(letture("Articoli", "Immagini"), 1);
}

TEST_F(ApriAiutoTest, TheRoomOfThePanelIsAtMostHalfTheScreen)
{
    // A screen 12000 twips wide and 9000 high (800 x 600 pixels).
    GeometriaSchermo schermo;
    schermo.schermo = QRect(0, 0, 800, 600);
    schermo.disponibile = schermo.schermo;
    const auto reale = impostaGeometriaSchermo(schermo);
    struct Caso {
        const char *dove;
        const char *spazio; // nullptr: not set
        int32_t atteso;
    } casi[] = {{"A", nullptr, 2000}, {"D", nullptr, 5000}, {"A", "6000", 4500},
                {"B", "3000", 3000},  {"S", "8000", 6000},  {"X", "100", 100}};
    for (const Caso &k : casi) {
        c.personale("Articoli", "ImgDove", k.dove);
        if (k.spazio)
            c.personale("Articoli", "ImgSpazio", k.spazio);
        azzeraImmagini();
        apri("Articolo", 113);
        EXPECT_EQ(glImgSpazio, k.atteso) << k.dove << " " << (k.spazio ? k.spazio : "-");
        EXPECT_EQ(gsImgDove, k.dove);
        EXPECT_FALSE(finestra->aperture.back().immagini.mostra); // "Immagini" is "N"
    }
    impostaGeometriaSchermo(reale);
}

TEST_F(ApriAiutoTest, ThePictureFolderGetsTheDatabaseDriveWhenItNamesNone)
{
    QTemporaryDir cartella;
    struct Caso {
        const char *ini;
        const char *atteso;
    } casi[] = {
        {"[Base]\nDirImgArt=D:\\Foto\nDriveDB=E:\n", "D:\\Foto"},
        {"[Base]\nDirImgArt=\\\\server\\foto\nDriveDB=E:\n", "\\\\server\\foto"},
        {"[Base]\nDirImgArt=/srv/foto\nDriveDB=E:\n", "/srv/foto"},
        {"[Base]\nDirImgArt=Foto\nDriveDB=E:\n", "E:\\Foto"},
        {"[Base]\nDirImmagini=C:\\Immagini\n", "C:\\Immagini"}, // the general folder when the articles have none
        {"[Base]\nDirImgArt=\nDirImmagini=Img\nDriveDB=F:\\\n", "F:\\Img"},
    };
    c.personale("Articoli", "Immagini", "S");
    for (const Caso &k : casi) {
        gsFileIni = scriviFile(cartella.filePath("suite.ini"), k.ini);
        gsIniScelta.clear();
        azzeraImmagini();
        apri("Articolo", 113);
        EXPECT_EQ(gsDirImgArt, k.atteso) << k.ini;
    }
}

} // namespace
