#include "agganciprova.h"
#include "apridbazienda.h"
#include "connessionedb.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "dialoghidiprova.h"
#include "finestraconnessionediprova.h"
#include "rigacomandoprogramma.h"
#include "scratchdb.h"
#include "scrivifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kNomeIni = QStringLiteral("suite_prova_catena.ini");

class ApriDitta : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_cartellaPrima = QDir::currentPath();
        qputenv("SUITE_INST_INI", dir.filePath("SuiteInst.ini").toUtf8());
        db = ScratchDb::create(Engine::SQLite);
        c.creaSchema(*db);
        // The company connection is made by the chain itself.
        ggDbAzienda.reset();
        gsNomeConn.clear();
        gsNomeDBAzie = db->location();
    }
    void TearDown() override
    {
        impostaRigaComando(std::nullopt);
        qunsetenv("SUITE_INST_INI");
        QDir::setCurrent(m_cartellaPrima);
    }

    QString scrivi(const QString &percorso, const QByteArray &testo)
    {
        return scriviFile(QDir(dir.path()).filePath(percorso), testo);
    }
    bool apri() { return ApriDbAzienda(kNomeIni, "C:\\SuiteInst.ini", ggDbAzienda, gsNomeConn); }
    // The last message is the fatal one: error icon, the close started, no company connection.
    void erroreFatale(const QString &testo)
    {
        ASSERT_FALSE(d->mostrati().empty());
        EXPECT_EQ(d->mostrati().back().testo, testo);
        EXPECT_EQ(d->mostrati().back().icona, IconaMsg::Errore);
        EXPECT_EQ(agganci.chiusureCollegamenti, 1);
        EXPECT_FALSE(ggDbAzienda);
    }

    QTemporaryDir dir;
    ContestoDiProva c;
    std::unique_ptr<ScratchDb> db;
    DialoghiInstallati d;
    FinestraConnessioneInstallata finestra;
    AgganciDiProva agganci;

private:
    QString m_cartellaPrima;
};

TEST_F(ApriDitta, OpensTheCompanyFileThroughTheIniChain)
{
    gsFileIni = scrivi("suite.ini", "[Parametri Generali]\nOrdIniDBase=ditta1.ini\n");
    EXPECT_FALSE(apri());
    EXPECT_EQ(gsIniScelta, "ditta1.ini");
    ASSERT_TRUE(ggDbAzienda);
    EXPECT_TRUE(ggDbAzienda->Connesso(gsNomeConn));
    EXPECT_TRUE(ggDbAzienda->Database(gsNomeConn).EsisteTabella("OrdVenTest"));
    EXPECT_EQ(finestra->chiamate,
              (QStringList{"Carica", "Mostra", "Caption Connessione primaria al database", "Ridisegna"}));
    EXPECT_TRUE(d->mostrati().empty());
    EXPECT_EQ(agganci.chiusureCollegamenti, 0);
}

TEST_F(ApriDitta, SearchesTheMainIniInOrder)
{
    const QByteArray voce = "[Parametri Generali]\nOrdIniDBase=x.ini\n";
    const QString daRiga = scrivi("riga/" + kNomeIni, voce);
    const QString daInstallazione = scrivi("inst/" + kNomeIni, voce);
    const QString corrente = scrivi("corrente/" + kNomeIni, voce);
    scrivi("SuiteInst.ini", "[Setup]\nIniPrincipale=" + daInstallazione.toUtf8() + "\n");
    QDir::setCurrent(QFileInfo(corrente).path());

    struct Caso {
        QString riga;
        QString atteso;
    };
    const Caso casi[] = {
        {"/M menu1 /I \"" + daRiga + "\"", daRiga},
        {"/M menu1 /I \"" + dir.filePath("manca.ini") + "\"", daInstallazione}, // a missing "I" is passed over
        {"/M menu1", daInstallazione},
    };
    for (const auto &k : casi) {
        SCOPED_TRACE(k.riga.toStdString());
        impostaRigaComando(k.riga);
        gsFileIni.clear();
        EXPECT_FALSE(apri());
        EXPECT_EQ(gsFileIni, k.atteso);
    }
    QFile::remove(dir.filePath("SuiteInst.ini"));
    gsFileIni.clear();
    EXPECT_FALSE(apri());
    EXPECT_EQ(QFileInfo(gsFileIni).canonicalFilePath(), QFileInfo(corrente).canonicalFilePath());

    // A file the menu server named is taken as it is.
    gsFileIni = daRiga;
    QFile::remove(corrente);
    EXPECT_FALSE(apri());
    EXPECT_EQ(gsFileIni, daRiga);
}

TEST_F(ApriDitta, NoMainIniEndsTheProgram)
{
    QDir::setCurrent(dir.path());
    impostaRigaComando("/I \"" + dir.filePath("manca.ini") + "\"");
    gsFileIni.clear();
    d->rispondi(RispostaMsg::Ok);
    EXPECT_TRUE(apri());
    EXPECT_EQ(d->mostrati().size(), 1u);
    erroreFatale("File ini non trovato\r\nSistemare e rieseguire");
}

TEST_F(ApriDitta, EntryChosenFromTheList)
{
    gsFileIni = scrivi("suite.ini", "[Parametri Generali]\nNumIni=3\nOrdIniDBase=base.ini\n"
                                    "[Lista File Ini]\nOrdIniDBase1=uno.ini\nOrdIniDBase3=tre.ini\nOrdIniDBase5=cinque.ini\n");
    struct Caso {
        std::optional<QString> risposta;
        const char *voce;
    };
    const Caso casi[] = {
        {QString("3"), "tre.ini"},
        {QString("2"), "base.ini"},   // entry 2 is missing: the general entry
        {QString("5"), "cinque.ini"}, // beyond NumIni, looked up like any other
        {QString("7"), "base.ini"},
        {QString("0"), "base.ini"},
        {QString(""), "base.ini"},
        {std::nullopt, "base.ini"},   // cancelled
        {QString("-1"), ""},          // negative: no entry read
    };
    for (const auto &k : casi) {
        SCOPED_TRACE(k.voce);
        DialoghiInstallati dd;
        dd->rispondiTesto(k.risposta);
        gsIniScelta = "prima.ini";
        EXPECT_FALSE(apri());
        EXPECT_EQ(gsIniScelta, k.voce);
        ASSERT_EQ(dd->mostrati().size(), 1u);
        EXPECT_EQ(dd->mostrati()[0].testo,
                  "Numero di ini scelto\r\n(da 0 a 3)\r\n1 -> uno.ini\r\n2 -> \r\n3 -> tre.ini");
        EXPECT_EQ(dd->mostrati()[0].titolo, "Scelta dell'INI");
        EXPECT_EQ(dd->mostrati()[0].predefinito, "0");
    }
}

TEST_F(ApriDitta, NoGeneralEntryEndsTheProgram)
{
    gsFileIni = scrivi("suite.ini", "[Parametri Generali]\nNumIni=1\n[Lista File Ini]\nOrdIniDBase1=uno.ini\n");
    d->rispondiTesto(QString("0"));
    d->rispondi(RispostaMsg::Ok);
    EXPECT_TRUE(apri());
    EXPECT_EQ(d->mostrati().size(), 2u);
    erroreFatale("File di inizializzazione non trovato\no con informazioni non corrette.\n"
                 "Correggere e rieseguire il programma.");
}

TEST_F(ApriDitta, ANumberOfEntriesNoListCanHoldIsWrongInformation)
{
    for (const char *numero : {"1000", "2147483647"}) {
        SCOPED_TRACE(numero);
        DialoghiInstallati dd;
        AgganciDiProva aa;
        gsFileIni = scrivi("suite.ini", QByteArray("[Parametri Generali]\nNumIni=") + numero +
                                            "\nOrdIniDBase=base.ini\n[Lista File Ini]\nOrdIniDBase1=uno.ini\n");
        dd->rispondi(RispostaMsg::Ok);
        EXPECT_TRUE(apri());
        ASSERT_EQ(dd->mostrati().size(), 1u); // no prompt
        EXPECT_EQ(dd->mostrati()[0].testo, "File di inizializzazione non trovato\no con informazioni non corrette.\n"
                                           "Correggere e rieseguire il programma.");
        EXPECT_EQ(aa.chiusureCollegamenti, 1);
        EXPECT_FALSE(ggDbAzienda);
    }
    // The largest list still offers every entry.
    gsFileIni = scrivi("suite.ini", "[Parametri Generali]\nNumIni=999\nOrdIniDBase=base.ini\n"
                                    "[Lista File Ini]\nOrdIniDBase999=ultimo.ini\n");
    d->rispondiTesto(QString("999"));
    EXPECT_FALSE(apri());
    EXPECT_EQ(gsIniScelta, "ultimo.ini");
    ASSERT_EQ(d->mostrati().size(), 1u);
    EXPECT_TRUE(d->mostrati()[0].testo.endsWith("\r\n998 -> \r\n999 -> ultimo.ini"));
}

TEST_F(ApriDitta, ParameterDisplayAsksAgainOrEnds)
{
    gsFileIni = scrivi("suite.ini", "[Parametri Generali]\nNumIni=2\nOrdIniDBase=base.ini\nVisParam=db1\n"
                                    "[Lista File Ini]\nOrdIniDBase1=uno.ini\nOrdIniDBase2=due.ini\n");
    gsConnectDBAzie = "";
    d->rispondiTesto(QString("1"));
    d->rispondi(RispostaMsg::No);
    d->rispondiTesto(QString("2"));
    d->rispondi(RispostaMsg::Si);
    EXPECT_FALSE(apri());
    EXPECT_EQ(gsIniScelta, "due.ini");
    ASSERT_EQ(d->mostrati().size(), 4u);
    EXPECT_EQ(d->mostrati()[1].testo, "Parametri letti:\r\nFile dei parametri: uno.ini\r\nDatabase: " +
                                          db->location() + "\r\nTipo Connessione: \r\n");
    EXPECT_EQ(d->mostrati()[1].pulsantiMsgBox, PulsantiMsg::SiNoAnnulla);
    EXPECT_EQ(d->mostrati()[1].icona, IconaMsg::Domanda);
    EXPECT_TRUE(ggDbAzienda);

    DialoghiInstallati dd;
    ggDbAzienda.reset();
    finestra->chiamate.clear();
    dd->rispondiTesto(QString("1"));
    dd->rispondi(RispostaMsg::Annulla);
    EXPECT_TRUE(apri());
    EXPECT_FALSE(ggDbAzienda);
    EXPECT_TRUE(finestra->chiamate.isEmpty()); // nothing connected
    EXPECT_EQ(agganci.chiusureCollegamenti, 1);
}

TEST_F(ApriDitta, AFileThatIsNoDatabaseOffersRecovery)
{
    gsFileIni = scrivi("suite.ini", "[Parametri Generali]\nOrdIniDBase=x.ini\n");
    gsNomeDBAzie = scrivi("rotto.db", QByteArray(4096, 'x'));
    for (int risposta : {RispostaMsg::Ok, RispostaMsg::Annulla}) {
        SCOPED_TRACE(risposta);
        DialoghiInstallati dd;
        dd->rispondi(risposta);
        EXPECT_TRUE(apri());
        ASSERT_EQ(dd->mostrati().size(), 1u);
        EXPECT_EQ(dd->mostrati()[0].testo,
                  "Errore nell'apertura del database " + gsNomeDBAzie + "\r\nVuoi tentare di recuperarlo");
        EXPECT_EQ(dd->mostrati()[0].pulsantiMsgBox, PulsantiMsg::OkAnnulla);
    }
    EXPECT_EQ(agganci.chiusureCollegamenti, 2);
}

TEST_F(ApriDitta, AFailedLoginComesBackAsItsName)
{
    gsFileIni = scrivi("suite.ini", "[Parametri Generali]\nOrdIniDBase=x.ini\n");
    gsNomeDBAzie = dir.filePath("manca.db");
    d->rispondi(1);
    EXPECT_FALSE(apri());
    EXPECT_EQ(gsNomeConn, "Err: 3024");
    ASSERT_EQ(d->mostrati().size(), 1u);
    EXPECT_TRUE(d->mostrati()[0].testo.startsWith("Errore(3024): ")) << d->mostrati()[0].testo.toStdString();
    EXPECT_EQ(agganci.chiusureCollegamenti, 0);
}

class FinestraCheFallisce : public FinestraConnessioneDiProva {
public:
    void Mostra() override { throw AppError::standard(7); }
};

TEST_F(ApriDitta, AnyOtherErrorWhileConnectingIsShown)
{
    gsFileIni = scrivi("suite.ini", "[Parametri Generali]\nOrdIniDBase=x.ini\n");
    auto precedente = impostaFinestraConnessione(std::make_unique<FinestraCheFallisce>());
    d->rispondi(1);
    EXPECT_TRUE(apri());
    impostaFinestraConnessione(std::move(precedente));
    ASSERT_EQ(d->mostrati().size(), 1u);
    EXPECT_EQ(d->mostrati()[0].testo,
              "Errore 7 nell'apertura del database.\nCorreggere e riprovare. (Memoria esaurita) ");
    EXPECT_EQ(agganci.chiusureCollegamenti, 1);
}

} // namespace
