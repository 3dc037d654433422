#include "apperror.h"
#include "inprocessmenuclient.h"
#include "menufixture.h"

#include <gtest/gtest.h>

namespace {

TEST(InProcessMenuClient, AnswersLikeTheServerAndJournals)
{
    InProcessMenuClient c(sampleMenuConfig());
    c.Collega("menu1", "EVAORD", "");
    EXPECT_EQ(c.NomeUtente(), "mario");
    EXPECT_EQ(c.LeggiParametro(MenuConfig::chiavePersonale("Tutti", "Manca")).text(), MenuClient::marcatoreAssente());
    EXPECT_TRUE(c.LeggiParametro("Manca").isEmpty());
    c.responder().setUtente("anna");
    EXPECT_EQ(c.NomeUtente(), "anna");
    c.responder().failCall("NomeTerminale", 5);
    EXPECT_THROW(c.NomeTerminale(), AppError);

    QObject::connect(&c, &MenuClient::EseguiComando,
                     [&](const QString &, const QString &key, const QString &com, const Variant &, Variant &ret) {
                         ret = "";
                         if (com == "preppassaa")
                             c.AggiungiPassaA("Evasione ordini", "frmEvasOrd", key);
                         if (com == "fine")
                             c.Scollega();
                     });
    EXPECT_EQ(*c.eseguiComando("preppassaa", "SEC1").stringIf(), "");
    EXPECT_EQ(*c.eseguiComando("fine").stringIf(), "");
    EXPECT_THROW(c.NomeUtente(), AppError);
    EXPECT_EQ(journalCalls(c.journal()),
              (QStringList{"Collega", "NomeUtente", "LeggiParametro", "LeggiParametro", "NomeUtente", "NomeTerminale",
                           "AggiungiPassaA", "Scollega"}));
    EXPECT_EQ(journalLines(c.journal()).filter("comando").first(), R"(comando preppassaa("SEC1", Empty) => "")");
}

TEST(MenuClientFactory, TestsSwapTheClient)
{
    impostaFabbricaMenuClient([] { return std::make_unique<InProcessMenuClient>(sampleMenuConfig()); });
    const auto fake = creaMenuClient();
    EXPECT_EQ(fake->NomeTerminale(), "PC01");
    impostaFabbricaMenuClient({});
    qunsetenv(kMenuSocketEnv);
    const auto real = creaMenuClient();
    try {
        real->Collega("m", "p", "");
        FAIL();
    } catch (const AppError &e) {
        EXPECT_EQ(e.number(), ErrNum::InvalidCall);
    }
}

} // namespace
