// The navigation keys of forms that page through records.
#include "apperror.h"
#include "paginazione.h"
#include "tasti.h"

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolBar>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class PaginazioneProva : public OggettoPaginazione {
public:
    void ovLeggiPar(const QString &nome, const Variant &valore) override { parametri << nome + "=" + valore.text(); }
    QString TastoPremuto(int16_t codice) override { return codice == 71 ? QStringLiteral("Stampa") : QString(); }
    void RecCorrSuTot(QString &corrente, QString &totale) override
    {
        corrente = "3";
        totale = "10";
    }
    Variant VarDati(int16_t) override { return datiVuoti ? Variant() : Variant("chiave"); }

    QStringList parametri;
    bool datiVuoti = true;
};

class FormPaginataProva : public QWidget, public FormPaginata {
public:
    FormPaginataProva()
    {
        for (auto *b : {&comandi, &righe, &elenchi}) {
            *b = new QToolBar(this);
            for (const char *k : {"Precedente", "Successivo", "Inizio", "Fine", "Salva", "Stampa", "Ricerca"})
                (*b)->addAction(QString::fromLatin1(k))->setObjectName(QString::fromLatin1(k));
        }
        nota = new QPlainTextEdit(this);
    }
    OggettoPaginazione *ogComPag() override { return &comPag; }
    OggettoPaginazione *ogLinPag() override { return &linPag; }
    OggettoPaginazione *ogLisPag() override { return &lisPag; }
    QWidget *tolComPag() override { return comandi; }
    QWidget *tolLinPag() override { return righe; }
    QWidget *tolComlin() override { return elenchi; }
    void ButtonComando(const QString &pulsante) override
    {
        premuti << pulsante;
        if (pulsante == "Salva" && comPag.oiFlagOpe == 2)
            comPag.oiFlagOpe = dopoSalva;
    }

    PaginazioneProva comPag, linPag, lisPag;
    QToolBar *comandi = nullptr, *righe = nullptr, *elenchi = nullptr;
    QPlainTextEdit *nota = nullptr;
    QStringList premuti;
    int16_t dopoSalva = 2;
};

struct Esito {
    QStringList premuti;
    int16_t codice;
};

Esito naviga(FormPaginataProva &f, int16_t codice, int16_t shift, int16_t comPag, int16_t linPag, int16_t lisPag,
             int16_t nuovaRicerca = -1)
{
    f.premuti.clear();
    QString p1, p2;
    GestTastiNavig(codice, shift, &f, comPag, 0, linPag, 0, lisPag, 0, Variant(), p1, p2, nuovaRicerca);
    return {f.premuti, codice};
}

TEST(GestTastiNavig, WithoutPagingFlagsNothingHappens)
{
    QWidget qualsiasi;
    int16_t codice = Tasto::F10;
    QString p1, p2;
    EXPECT_EQ(GestTastiNavig(codice, 0, &qualsiasi, 0, 0, 0, -1, 0, 0, Variant(), p1, p2, -1).toInteger(), 0);
    EXPECT_EQ(codice, Tasto::F10);
}

TEST(GestTastiNavig, CommandPagingPressesTheToolbarsButtons)
{
    FormPaginataProva f;
    EXPECT_EQ(naviga(f, Tasto::PagGiu, kShiftAlt, -1, 0, 0).premuti, QStringList{"Successivo"});
    EXPECT_EQ(naviga(f, Tasto::Inizio, kShiftAlt, -1, 0, 0).premuti, QStringList{"Inizio"});
    EXPECT_EQ(naviga(f, 71, kShiftAlt, -1, 0, 0).premuti, QStringList{"Stampa"}); // bound by the paging object
    f.comandi->actions()[1]->setEnabled(false);
    EXPECT_TRUE(naviga(f, Tasto::PagGiu, kShiftAlt, -1, 0, 0).premuti.isEmpty());
    f.comandi->actions()[5]->setVisible(false);
    EXPECT_TRUE(naviga(f, 71, kShiftAlt, -1, 0, 0).premuti.isEmpty());

    // F10: a search, or the record saved and a new search begun.
    Esito e = naviga(f, Tasto::F10, 0, -1, 0, 0);
    EXPECT_EQ(e.premuti, QStringList{"Ricerca"});
    EXPECT_EQ(e.codice, 0);
    f.comPag.oiFlagOpe = 1;
    EXPECT_EQ(naviga(f, Tasto::F10, 0, -1, 0, 0).premuti, (QStringList{"Salva", "Ricerca"}));
    EXPECT_EQ(naviga(f, Tasto::F10, 0, -1, 0, 0, 0).premuti, QStringList{"Salva"});
    f.comPag.datiVuoti = false;
    EXPECT_EQ(naviga(f, Tasto::F10, 0, -1, 0, 0).premuti, QStringList{"Salva"});
    f.comPag.datiVuoti = true;
    f.comPag.oiFlagOpe = 2;
    EXPECT_EQ(naviga(f, Tasto::F10, 0, -1, 0, 0).premuti, QStringList{"Salva"}); // still changing
    f.dopoSalva = 1;
    EXPECT_EQ(naviga(f, Tasto::F10, 0, -1, 0, 0).premuti, (QStringList{"Salva", "Ricerca"}));
    f.comandi->actions()[4]->setEnabled(false);
    f.comPag.oiFlagOpe = 1;
    EXPECT_EQ(naviga(f, Tasto::F10, 0, -1, 0, 0).premuti, QStringList{"Ricerca"});
    EXPECT_EQ(naviga(f, Tasto::F10, kShiftMaiusc, -1, 0, 0).codice, Tasto::F10);
}

TEST(GestTastiNavig, ListAndLinePaging)
{
    FormPaginataProva f;
    EXPECT_EQ(naviga(f, Tasto::Giu, 0, 0, 0, -1).premuti, QStringList{"Successiva"});
    EXPECT_EQ(naviga(f, Tasto::Su, 0, 0, -1, -1).premuti, QStringList{"Precedente"}); // the list ends it
    EXPECT_EQ(naviga(f, 71, kShiftAlt, 0, 0, -1).premuti, QStringList{"Stampa"});
    EXPECT_EQ(naviga(f, Tasto::PagSu, 0, 0, -1, 0).premuti, QStringList{"PageUp"});
    EXPECT_EQ(naviga(f, Tasto::PagGiu, 0, 0, -1, 0).premuti, QStringList{"PageDown"});
    EXPECT_EQ(naviga(f, 71, kShiftAlt, 0, -1, 0).premuti, QStringList{"Stampa"});
    EXPECT_TRUE(naviga(f, 72, kShiftAlt, 0, -1, 0).premuti.isEmpty());

    // Inside a multi-line box whose text is not wholly selected the keys stay in the box.
    f.show();
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.nota->setPlainText("due\nrighe");
    f.nota->setFocus();
    EXPECT_TRUE(naviga(f, Tasto::PagGiu, 0, 0, -1, 0).premuti.isEmpty());
    f.nota->selectAll();
    EXPECT_EQ(naviga(f, Tasto::PagGiu, 0, 0, -1, 0).premuti, QStringList{"PageDown"});
}

TEST(GestTastiNavig, AFormWithoutPagingOrAButtonRaises)
{
    QWidget qualsiasi;
    int16_t codice = Tasto::Giu;
    QString p1, p2;
    EXPECT_THROW(GestTastiNavig(codice, 0, &qualsiasi, -1, 0, 0, 0, 0, 0, Variant(), p1, p2, -1), AppError);
    FormPaginataProva f;
    p1 = "Manca";
    EXPECT_THROW(GestTastiNavig(codice, 0, &f, -1, 0, 0, 0, 0, 0, Variant(), p1, p2, -1), AppError);
}

} // namespace
