// Other programs posting at the same time: a writer holding the article's progressive row
// while the posting retries it, and two programs posting the same article 200 times each, on
// both engines.
#include "magazzinoprova.h"

#include "aggiornamovimento.h"
#include "connessionedb.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "programmiprova.h"

namespace {

class Concorrenza : public MagazzinoDiProva {
protected:
    ProgrammiProva programmi() { return ProgrammiProva(db(), QStringLiteral(PROVA_POSTING)); }
};

TEST_P(Concorrenza, TheRowHeldByAnotherWriterIsRetriedUntilItIsFree)
{
    articolo("P1");
    causale("CAR", {});
    inserisci("ArticoliProg", {{"Anno", 2024},
                               {"Magazzino", "01"},
                               {"Articolo", "P1"},
                               {"Livello1", "~ç~"},
                               {"Livello2", "~ç~"},
                               {"QtaCarico", 5.0}});
    movimento(1, "CAR");
    riga(1, 1, "P1", 2, 4.0);
    ggDbAzienda->ImpostaAttesaBlocchi(150, gsNomeConn);

    ProgrammiProva altro = programmi();
    altro.avvia("luigi", {"tieni", "P1", "700"});
    altro.via_();
    ASSERT_EQ(altro.riga(0), "tenuto");
    GestRecordset rec;
    QString tes, riga;
    int16_t errore = 0;
    const EsitoPosting esito = AggiornaMovimento(2024, 1, rec, "D", true, tes, riga, true, "0", errore, true);
    rec.Chiudi(tes);
    EXPECT_EQ(altro.righe().at(0), QStringList{"confermato"});

    EXPECT_TRUE(esito.riuscito()) << esito.descrizione.toStdString();
    EXPECT_DOUBLE_EQ(prog("01", "P1")["QtaCarico"], 7);
    EXPECT_EQ(conta("Select * from MovMagDett"), 1);
    EXPECT_FALSE(viste->registrato.messaggi.filter("Dati bloccati tentativo n. 2").isEmpty())
        << viste->registrato.messaggi.join('|').toStdString();
    EXPECT_TRUE(dialoghi->mostrati().empty());
}

TEST_P(Concorrenza, TwoProgramsPostingTheSameArticleLoseNothing)
{
    constexpr int kMovimenti = 200;
    articolo("P1");
    causale("CAR", {{"AggMedioPon", "S"}, {"AggCostoUlt", "S"}, {"AggMedioCar", "S"}, {"AcqVen", "A"}});
    causale("VEN", {{"CarScar", "S"},
                    {"Prov", "M"},
                    {"Dest", "C"},
                    {"AggMedioPon", "S"},
                    {"ValorizzScarico", "P"},
                    {"AcqVen", "V"}});
    ProgrammiProva p = programmi();
    // Neither finds the progressive or the cost row: both create them at once.
    p.avvia("mario", {"posta", "CAR", "P1", "1000", QString::number(kMovimenti), "2", "5"});
    p.avvia("luigi", {"posta", "VEN", "P1", "5000", QString::number(kMovimenti), "1", "3"});
    p.via_();
    const auto righe = p.righe(600000);
    ASSERT_EQ(righe.size(), 2u);
    for (const QStringList &r : righe) {
        ASSERT_FALSE(r.isEmpty());
        EXPECT_TRUE(r.last().startsWith(QStringLiteral("fatti %1 falliti 0").arg(kMovimenti)))
            << r.join('|').toStdString();
    }

    const Valori g = prog("01", "P1");
    EXPECT_DOUBLE_EQ(g["QtaCarico"], 2.0 * kMovimenti);
    EXPECT_DOUBLE_EQ(g["ValCarico"], 5.0 * kMovimenti);
    EXPECT_DOUBLE_EQ(g["QtaScarico"], 1.0 * kMovimenti);
    EXPECT_DOUBLE_EQ(g["ValScarico"], 3.0 * kMovimenti);
    const Valori c = costi("P1");
    EXPECT_DOUBLE_EQ(c["QtaAcquisti"], 2.0 * kMovimenti);
    EXPECT_DOUBLE_EQ(c["ValAcquisti"], 5.0 * kMovimenti);
    EXPECT_DOUBLE_EQ(c["QtaVenduto"], 1.0 * kMovimenti);
    EXPECT_DOUBLE_EQ(c["ValVenduto"], 3.0 * kMovimenti);
    EXPECT_DOUBLE_EQ(c["QtaMedioC"], 2.0 * kMovimenti);
    EXPECT_EQ(conta("Select * from ArticoliProg Where Articolo = 'P1'"), 1);
    EXPECT_EQ(conta("Select * from ArticoliCosti Where Articolo = 'P1'"), 1);
    EXPECT_EQ(conta("Select * from MovMagDett Where Articolo = 'P1'"), 2 * kMovimenti);
    EXPECT_EQ(conta("Select * from MovMagDettApp"), 0);
    EXPECT_EQ(conta("Select * from LockGest"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, Concorrenza, kBothEngines, engineParamName);

} // namespace
