// The standard set-up of a form and its fitting at the end of the load.
#include "colori.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "finestraconnessionediprova.h"
#include "inizmaschera.h"
#include "paginazione.h"
#include "tasti.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

constexpr int32_t kPulsante = static_cast<int32_t>(0x8000000Fu);
constexpr int32_t kFinestra = static_cast<int32_t>(0x80000005u);
constexpr int32_t kGrigio = 0xC0C0C0;

class FormImpostata : public QWidget, public TastiForm {
public:
    FormImpostata()
    {
        setWindowTitle("Evasione Ordini");
        auto nomina = [](QWidget *w, const char *nome) {
            w->setObjectName(nome);
            return w;
        };
        etichetta = static_cast<QLabel *>(nomina(new QLabel("Prezzi & sconti", this), "Label1"));
        escluso = nomina(new QLabel("x", this), "lab1");
        coda = nomina(new QLabel("y", this), "Ok");
        verde = nomina(new QLabel("z", this), "labVerde");
        ImpostaBackColor(verde, 0x00FF00);
        campo = nomina(new QLineEdit(this), "txt");
        pulsante = nomina(new QPushButton("&Ok", this), "ComOk");
        cornice = nomina(new QGroupBox(this), "Frame1");
        senzaNome = new QLabel(this);
    }
    void Form_KeyDown(int16_t &, int16_t) override {}
    void Form_KeyPress(int16_t &) override {}

    QLabel *etichetta;
    QWidget *escluso, *coda, *verde, *campo, *pulsante, *cornice, *senzaNome;
};

class InizMascheraTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gsDescAzie = "Ditta Prova";
        glColBackForm = 0;
        gsStatoFinestra.clear();
    }
    ContestoDiProva c;
    FinestraConnessioneInstallata avviso;
    FormImpostata form;
};

TEST_F(InizMascheraTest, CaptionLoadingNoticeKeysAndReadOnlySwitch)
{
    form.setProperty("osParam", "/F frmEvasOrd /RO");
    InizMaschera(&form, 0, 0, 0, 0, 0, 0, -1, 0, -1, QString());
    EXPECT_EQ(form.windowTitle(), "Evasione Ordini - Ditta Prova");
    EXPECT_EQ(avviso->chiamate.mid(avviso->chiamate.indexOf("Mostra")),
              (QStringList{"Mostra", "Caption Caricamento maschera", "NomeDb Caricamento maschera Evasione Ordini",
                           "Ridisegna"}));
    EXPECT_TRUE(avviso->chiamate.contains("Carica")); // the version lines first
    EXPECT_TRUE(KeyPreview(&form));
    EXPECT_EQ(form.property("oiAbilRW").toInt(), 0);
    EXPECT_EQ(form.etichetta->text(), "Prezzi & sconti");
    EXPECT_EQ(form.etichetta->buddy(), nullptr);

    AdattaRisVid(&form, 0, 0, 0, 0, 0, 0, 0, -1);
    EXPECT_EQ(avviso->chiamate.back(), "Scarica");
    EXPECT_FALSE(form.windowState() & Qt::WindowMaximized);

    FormImpostata altra;
    avviso->chiamate.clear();
    altra.setProperty("osParam", "/F frmEvasOrd");
    InizMaschera(&altra, 0, 0, 0, 0, 0, 0, -1, -1, -1, QString());
    EXPECT_TRUE(avviso->chiamate.isEmpty()); // no notice asked
    EXPECT_EQ(altra.property("oiAbilRW").toInt(), 1);

    FormImpostata terza;
    InizMaschera(&terza, 0, 0, 0, 0, 0, 0, 0, -1, 0, QString());
    EXPECT_FALSE(terza.property("oiAbilRW").isValid());

    gsStatoFinestra = "2";
    AdattaRisVid(&terza, 0, 0, 0, 0, 0, 0, -1, -1);
    EXPECT_TRUE(terza.windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(avviso->chiamate.isEmpty()); // the notice kept
}

TEST_F(InizMascheraTest, TheFormColourGoesToControlsStillShowingTheButtonFace)
{
    InizMaschera(&form, 0, 0, 0, 0, 0, 0, 0, -1, 0, QString());
    for (QWidget *w : {static_cast<QWidget *>(&form), static_cast<QWidget *>(form.etichetta), form.pulsante})
        EXPECT_FALSE(w->property("BackColor").isValid());

    glColBackForm = kGrigio;
    FormImpostata f;
    InizMaschera(&f, 0, 0, 0, 0, 0, 0, 0, -1, 0, "LAB1,cmdOk,");
    EXPECT_EQ(BackColor(&f), kGrigio);
    EXPECT_EQ(BackColor(f.etichetta), kGrigio);
    EXPECT_EQ(BackColor(f.pulsante), kGrigio);
    EXPECT_EQ(BackColor(f.cornice), kGrigio);
    EXPECT_FALSE(f.escluso->property("BackColor").isValid()); // listed (letter case ignored)
    EXPECT_FALSE(f.coda->property("BackColor").isValid());    // "Ok," is the tail of "cmdOk,"
    EXPECT_EQ(BackColor(f.verde), 0x00FF00);                  // not the button face
    EXPECT_EQ(BackColor(f.campo), kFinestra);                 // a field
    EXPECT_FALSE(f.senzaNome->property("BackColor").isValid());
    EXPECT_EQ(f.etichetta->palette().color(QPalette::Window), coloreQt(kGrigio));
    ImpostaBackColor(f.campo, kPulsante);
    InizMaschera(&f, 0, 0, 0, 0, 0, 0, 0, -1, 0, QString());
    EXPECT_EQ(BackColor(f.campo), kGrigio);
}

TEST(TitoloConDitta, TheTitleWithTheCompanyOrTheTextGiven)
{
    ContestoDiProva c;
    gsDescAzie = "Rossi S.p.A.";
    EXPECT_EQ(TitoloConDitta("Cambi").text(), "Cambi - Rossi S.p.A.");
    EXPECT_EQ(TitoloConDitta("Cambi", Variant("altro")).text(), "Cambi - altro");
    EXPECT_EQ(TitoloConDitta("Cambi", Variant::null()).text(), "Cambi - ");
}

// A form that pages through records: the screen factor and the read-only switch reach its
// paging objects.
class PaginazioneRegistra : public OggettoPaginazione {
public:
    void ovLeggiPar(const QString &nome, const Variant &valore) override { parametri << nome + "=" + valore.text(); }
    QString TastoPremuto(int16_t) override { return {}; }
    void RecCorrSuTot(QString &corrente, QString &totale) override
    {
        corrente = "4";
        totale = "12";
    }
    Variant VarDati(int16_t) override { return {}; }
    QStringList parametri;
};

class FormConPagine : public FormImpostata, public FormPaginata {
public:
    FormConPagine()
    {
        auto *riga = new QLineEdit(this);
        riga->setObjectName("txtRiga");
    }
    OggettoPaginazione *ogComPag() override { return &comPag; }
    OggettoPaginazione *ogLinPag() override { return &linPag; }
    OggettoPaginazione *ogLisPag() override { return &lisPag; }
    OggettoPaginazione *ogComlin() override { return &comlin; }
    void ButtonComando(const QString &) override {}
    PaginazioneRegistra comPag, linPag, lisPag, comlin;
};

TEST_F(InizMascheraTest, PagingObjectsGetTheFactorAndTheReadOnlySwitch)
{
    FormConPagine f;
    f.setProperty("osParam", "/RO");
    InizMaschera(&f, -1, -1, -1, 0, -1, 0, -1, -1, -1, QString());
    ASSERT_EQ(f.comPag.parametri.size(), 1);
    EXPECT_TRUE(f.comPag.parametri[0].startsWith("RisVid="));
    EXPECT_EQ(f.linPag.parametri.size(), 1);
    EXPECT_EQ(f.lisPag.parametri.size(), 1);
    EXPECT_EQ(f.comlin.parametri.size(), 2); // with the list paging and on its own
    AdattaRisVid(&f, -1, 0, -1, 0, 0, 0, -1, -1);
    EXPECT_EQ(f.comPag.oiAbilRW, 0);
    EXPECT_EQ(f.linPag.oiAbilRW, 0);
    EXPECT_EQ(f.findChild<QLineEdit *>("txtRiga")->text(), "4 / 12");
    EXPECT_EQ(f.comPag.parametri.back(), "RisVidFatta=Vero");
    EXPECT_EQ(f.lisPag.parametri.size(), 1);

    FormImpostata senzaPagine;
    EXPECT_THROW(AdattaRisVid(&senzaPagine, -1, 0, 0, 0, 0, 0, -1, 0), AppError);
}

} // namespace
