// A company opened as the program opens it: through the ini chain on SQLite and on PostgreSQL,
// its settings read through the menu link, nested writes run in transactions.
#include "apridbazienda.h"
#include "companyfixture.h"
#include "connessionedb.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "conversionieuro.h"
#include "datiditta.h"
#include "dialoghidiprova.h"
#include "finestraconnessionediprova.h"
#include "gestrecordset.h"
#include "menuclient.h"
#include "parametri.h"
#include "scratchdb.h"
#include "scrivifile.h"
#include "tabellearrotondamento.h"
#include "transazioni.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DittaCompleta : public ::testing::TestWithParam<Engine> {};

TEST_P(DittaCompleta, OpensReadsItsSettingsAndWritesInTransactions)
{
    MenuConfig cfg;
    cfg.utente = "mario";
    ContestoDiProva c(cfg);
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    c.creaDitta(*db, suite::FixtureOptions{.orders = 2, .customers = 4, .articles = 8});
    ggDbAzienda.reset();
    gsNomeConn.clear();
    c.parametro("NomeDBAzie", nomeDbAzienda(*db));

    QTemporaryDir dir;
    const QString ini = scriviFile(dir.filePath("suite.ini"), "[Parametri Generali]\nOrdIniDBase=ditta.ini\n"
                                                                 "[Configurazioni]\nFormatData=dd/mm/yy\n");
    c.menu().responder().setConfig([&] {
        MenuConfig nuova = c.menu().responder().config();
        nuova.fileIni = ini;
        return nuova;
    }());

    DialoghiInstallati d;
    FinestraConnessioneInstallata finestra;
    // What start-up does before and after the opening.
    gsFileIni = ggMenuClient->FileIni();
    gsNomeDBAzie = LeggiParamMenu("NomeDBAzie").text();
    gsConnectDBAzie = LeggiParamMenu("ConnectDBAzie").text();
    ASSERT_FALSE(ApriDbAzienda("suite.ini", "C:\\SuiteInst.ini", ggDbAzienda, gsNomeConn));
    ASSERT_FALSE(gsNomeConn.isEmpty());
    ASSERT_FALSE(gsNomeConn.startsWith("Err:"));
    InizProgramma();
    azzeraBandeArrotondamento();

    EXPECT_EQ(gsMonetaDitta, "Euro");
    EXPECT_EQ(giNumDecPrzEuro, 2);
    EXPECT_EQ(giNumDecPrzLire, 0);
    EXPECT_EQ(gsFormatData, "dd/mm/yy");
    EXPECT_EQ(ggDbDao->Motore(), ggDbAzienda->Motore(gsNomeConn));
    EXPECT_TRUE(EsisteCampo("OrdVenTest", "numrif"));
    EXPECT_DOUBLE_EQ(LireInEuro(1000, true, false), 0.52); // by the fixture's euro band
    EXPECT_TRUE(d->mostrati().empty());

    GestRecordset rs;
    const auto aggiungi = [&](const QString &alias, const char *id) {
        rs.AddNew(alias);
        ImpostaCampo(rs, alias, "Utente", ggMenuClient->NomeUtente());
        ImpostaCampo(rs, alias, "IdProgramma", "EvaOrd");
        ImpostaCampo(rs, alias, "IdCampo", id);
        ImpostaCampo(rs, alias, "Valoredata", "01/01/100");
        rs.Update(alias);
    };
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, "Select * from AppoggioTemp", false, dbOpenDynaset);
    IniziaTransazione();
    aggiungi(a, "esterna");
    IniziaTransazione();
    aggiungi(a, "annullata");
    AnnullaTransazione();
    IniziaTransazione();
    aggiungi(a, "interna");
    ConfermaTransazione();
    ConfermaTransazione();
    rs.Chiudi(a);

    const QString b = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                              "Select IdCampo, Valoredata from AppoggioTemp Order By IdCampo");
    QStringList righe;
    for (; !rs.Eof(b); rs.MoveNext(b)) {
        righe << rs.LeggiCampo(b, u"IdCampo").text();
        EXPECT_TRUE(rs.ValoreCampo(b, u"Valoredata").isNull());
    }
    EXPECT_EQ(righe, (QStringList{"esterna", "interna"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, DittaCompleta, kBothEngines, engineParamName);

} // namespace
