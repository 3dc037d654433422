// The lookup window, driven from the keyboard as the user drives it.
#include "dittaaiuto.h"
#include "finestraaiutodiprova.h"
#include "frmaiuto.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// What the window showed when the test's actions ran.
struct Visto {
    bool aperta = false;
    QString titolo, ricerca;
    QStringList intestazioni;
    QStringList primaColonna;
};

class FinestraAiutoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!d.apri(Engine::SQLite))
            GTEST_SKIP();
        InstallaFinestraAiuto(*d.aiuto);
    }

    // Runs the actions on the window once it is on the screen, after noting what it shows.
    void quandoAperta(std::function<void(FrmAiuto &, QLineEdit &)> azioni)
    {
        QTimer::singleShot(0, [this, azioni] {
            auto *w = qobject_cast<FrmAiuto *>(QApplication::activeModalWidget());
            if (!w)
                return;
            auto *ricerca = w->findChild<QLineEdit *>(QStringLiteral("txtRicerca"));
            auto *elenco = w->findChild<QTableView *>(QStringLiteral("grdElenco"));
            visto.aperta = true;
            visto.titolo = w->windowTitle();
            visto.ricerca = ricerca->text();
            for (int c = 0; c < elenco->model()->columnCount(); ++c)
                visto.intestazioni << elenco->model()->headerData(c, Qt::Horizontal).toString();
            for (int r = 0; r < elenco->model()->rowCount(); ++r)
                visto.primaColonna << elenco->model()->index(r, 0).data().toString();
            azioni(*w, *ricerca);
        });
    }

    Variant mostra(const QString &tipo, int16_t tasto, const QString &campi = {}, const QString &filtro = {})
    {
        int16_t t = tasto;
        return d.aiuto->MostraAiuto(tipo, &codice, &descrizione, t, nullptr, std::nullopt, scelto, 0, campi, filtro);
    }

    DittaAiuto d;
    QLineEdit codice;
    QLabel descrizione;
    int16_t scelto = 0;
    Visto visto;
};

TEST_F(FinestraAiutoTest, TypingNarrowsTheListAndEnterChoosesTheRowUnderTheCursor)
{
    codice.setText("ART0000");
    quandoAperta([](FrmAiuto &, QLineEdit &ricerca) {
        QTest::keyClick(&ricerca, Qt::Key_Down);
        QTest::keyClick(&ricerca, Qt::Key_Return);
    });
    EXPECT_EQ(mostra("Articolo", 113).toInteger(), 0);
    EXPECT_EQ(visto.titolo, "Aiuto");
    EXPECT_EQ(visto.ricerca, "ART0000");
    EXPECT_EQ(visto.primaColonna.size(), 8);
    EXPECT_EQ(codice.text(), "ART00002");
    EXPECT_EQ(descrizione.text(), "Articolo 2");
    EXPECT_EQ(scelto, -1);

    // F3 searches the description; the user types over the proposed text.
    codice.setText("");
    scelto = 0;
    visto = {};
    quandoAperta([](FrmAiuto &, QLineEdit &ricerca) {
        QTest::keyClicks(&ricerca, "colo 7");
        QTest::keyClick(&ricerca, Qt::Key_Enter);
    });
    mostra("ArticoloCod", 114);
    EXPECT_EQ(visto.primaColonna.size(), 8); // nothing typed yet: every row
    EXPECT_EQ(codice.text(), "ART00007");
    EXPECT_EQ(scelto, -1);
}

TEST_F(FinestraAiutoTest, EscClosesWithoutAChoice)
{
    codice.setText("ART");
    descrizione.setText("prima");
    quandoAperta([](FrmAiuto &, QLineEdit &ricerca) { QTest::keyClick(&ricerca, Qt::Key_Escape); });
    EXPECT_EQ(mostra("Articolo", 113).toInteger(), 0);
    EXPECT_TRUE(visto.aperta);
    EXPECT_EQ(codice.text(), "ART");
    EXPECT_EQ(descrizione.text(), "prima");
    EXPECT_EQ(scelto, 0);
}

TEST_F(FinestraAiutoTest, ColumnsAndFilterAreThoseOfTheCall)
{
    quandoAperta([](FrmAiuto &, QLineEdit &ricerca) { QTest::keyClick(&ricerca, Qt::Key_Escape); });
    mostra("Articolo", 115, " Descrizione, articolo ,NonEsiste,", "Inattivo <> 'S'");
    EXPECT_EQ(visto.intestazioni, (QStringList{"Descrizione", "articolo"}));
    EXPECT_EQ(visto.primaColonna.size(), 7); // the inactive article is filtered out
    EXPECT_EQ(visto.primaColonna.value(0), "Articolo 1");

    // An account lookup shows the accounts and writes the code with its separators.
    visto = {};
    codice.setText("14-01-0003");
    quandoAperta([](FrmAiuto &, QLineEdit &ricerca) { QTest::keyClick(&ricerca, Qt::Key_Return); });
    mostra("Conto", 113, "Descrizione,Conto");
    EXPECT_EQ(visto.primaColonna, QStringList{"Cliente 0003"});
    EXPECT_EQ(codice.text(), "14-01-0003");
    EXPECT_EQ(descrizione.text(), "Cliente 0003");
}

TEST_F(FinestraAiutoTest, KeysInTheWindowChangeTheSearchAndAggiornaReadsTheRowsAgain)
{
    codice.setText("6");
    quandoAperta([this](FrmAiuto &w, QLineEdit &ricerca) {
        QTest::keyClick(&ricerca, Qt::Key_F3); // "6" in the description: "Articolo 6"
        d.inserisci("Articoli", {{"Articolo", "ZZ1"}, {"Descrizione", "Nuovo 6"}});
        w.ButtonComando("Aggiorna");
        QTest::keyClick(&ricerca, Qt::Key_Down);
        QTest::keyClick(&ricerca, Qt::Key_Return);
    });
    mostra("Articolo", 113);
    EXPECT_TRUE(visto.primaColonna.isEmpty()); // no code begins with 6
    EXPECT_EQ(codice.text(), "ZZ1");
    EXPECT_EQ(descrizione.text(), "Nuovo 6");
}

TEST_F(FinestraAiutoTest, WithRetZeroRecAnEmptyFirstSearchAnswersOneWithoutAWindow)
{
    auto finestra = std::make_unique<FinestraAiutoDiProva>();
    const auto &aperture = finestra->aperture;
    d.aiuto->ImpostaFinestra(std::move(finestra));
    codice.setText("nessuno");
    EXPECT_EQ(mostra("Articolo", 113).toInteger(), 0); // without the setting the window opens
    EXPECT_EQ(aperture.size(), 1u);

    d.aiuto->OggettoRicerca().ovLeggiPar("RetZeroRec", Variant(int16_t(1)));
    EXPECT_EQ(mostra("Articolo", 113).toInteger(), 1);
    EXPECT_EQ(mostra("Articolo", 114).toInteger(), 1);
    EXPECT_EQ(aperture.size(), 1u);
    codice.setText("articolo");
    EXPECT_EQ(mostra("Articolo", 113).toInteger(), 1); // no code begins so
    EXPECT_EQ(mostra("Articolo", 114).toInteger(), 0); // descriptions contain it
    EXPECT_EQ(aperture.size(), 2u);
    codice.setText("");
    EXPECT_EQ(mostra("Articolo", 113).toInteger(), 0); // nothing typed: the whole list
    EXPECT_EQ(aperture.size(), 3u);
    EXPECT_EQ(scelto, 0);
}

TEST_F(FinestraAiutoTest, ArticlePicturesShowBesideTheList)
{
    QTemporaryDir cartella;
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(cartella.filePath("a1.png")));
    d.inserisci("Articoli", {{"Articolo", "AAA"}, {"Descrizione", "Con foto"}, {"Immagine", "a1.png"}});
    d.aiuto->ImpostaParametro("MostraImg", 12, Variant(true));
    d.aiuto->ImpostaParametro("DoveMostraImg", 12, Variant("S"));
    d.aiuto->ImpostaParametro("NomeColImg", 12, Variant("Immagine"));
    d.aiuto->ImpostaParametro("DirImgArt", 12, Variant(cartella.path()));
    d.aiuto->OggettoRicerca().ogComlin().ovLeggiPar("MargSin", Variant(int32_t(1500)));
    QSize dimensione;
    QPixmap mostrata;
    codice.setText("AAA");
    quandoAperta([&](FrmAiuto &w, QLineEdit &ricerca) {
        auto *foto = w.findChild<QLabel *>(QStringLiteral("imgArticolo"));
        dimensione = foto->size();
        mostrata = foto->pixmap();
        QTest::keyClick(&ricerca, Qt::Key_Escape);
    });
    mostra("Articolo", 113);
    EXPECT_EQ(dimensione.width(), 100); // 1500 twips
    EXPECT_EQ(mostrata.size(), QSize(40, 20));

    d.aiuto->ImpostaParametro("MostraImg", 12, Variant(false));
    quandoAperta([&](FrmAiuto &w, QLineEdit &ricerca) {
        EXPECT_FALSE(w.findChild<QLabel *>(QStringLiteral("imgArticolo"))->isVisible());
        QTest::keyClick(&ricerca, Qt::Key_Escape);
    });
    mostra("Articolo", 113);
}

} // namespace

namespace {

TEST_F(FinestraAiutoTest, TheShellReachesTheWindowsMembersByName)
{
    QWidget *w = d.aiuto->FormAiuto();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Aiuto");
    EXPECT_TRUE(w->setProperty("odRisVid", 1.5));
    EXPECT_TRUE(w->setProperty("obLockSpostaCurs", true));
    EXPECT_TRUE(w->setProperty("oiSpostaCurs", 3));
    EXPECT_EQ(d.aiuto->Finestra()->oiSpostaCurs, 3);

    QWidget form;
    form.setObjectName("frmEvasOrd");
    QSize dimensione;
    QObject *servita = nullptr;
    QTimer::singleShot(0, [&] {
        auto *aperta = QApplication::activeModalWidget();
        dimensione = aperta->size();
        servita = aperta->property("ofrmAttiva").value<QObject *>();
        QMetaObject::invokeMethod(aperta, "ButtonComando", Q_ARG(QString, QStringLiteral("Aggiorna")));
        QMetaObject::invokeMethod(aperta, "ChiudiAiuto");
    });
    int16_t tasto = 113;
    d.aiuto->MostraAiuto("Moneta", &codice, &descrizione, tasto, &form, std::nullopt, scelto, 0, {}, {});
    EXPECT_EQ(dimensione, QSize(960, 630));
    EXPECT_EQ(servita, &form);
    EXPECT_EQ(scelto, 0);
    EXPECT_TRUE(QMetaObject::invokeMethod(w, "HideFrm"));
}

} // namespace
