// How the drivers read a movement: the selections of its rows, its header with the causal,
// and the content of the posting error form, on both engines.
#include "magazzinoprova.h"

#include "connessionedb.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "mostraerraggmov.h"
#include "selezionimovimento.h"

namespace {

class Selezioni : public MagazzinoDiProva {};

const QString kCoda = ", Articoli.LivGruppo1, Articoli.ArtMag, Articoli.FlagLivLis, Articoli.GruppoForAb, "
                      "Articoli.MastroForAb, Articoli.ContoForAb from ";

TEST_P(Selezioni, TheRowSelections)
{
    EXPECT_EQ(SqlRigheMovimento(2024, 7, "d", "MovMagDett", "MovMagLiv"),
              "Select MovMagDett.*" + kCoda +
                  " MovMagDett Inner Join Articoli ON (MovMagDett.Articolo = Articoli.Articolo) Where "
                  "MovMagDett.Anno = 2024 AND MovMagDett.NumReg = 7");
    EXPECT_EQ(SqlRigheMovimento(2024, 7, "L", "MovMagDett", "MovMagLiv", Variant("2")),
              "Select MovMagLiv.*, MovMagDett.Articolo, MovMagDett.ListDaAgg, MovMagDett.ListDaAggClie" + kCoda +
                  " (MovMagLiv Inner Join MovMagDett ON (MovMagDett.NumReg = MovMagLiv.NumReg) AND (MovMagDett.Anno "
                  "= MovMagLiv.Anno) AND (MovMagDett.RigLiv = MovMagLiv.RigLiv)) Inner Join Articoli ON "
                  "(MovMagDett.Articolo = Articoli.Articolo) Where MovMagDett.Anno = 2024 AND MovMagDett.NumReg = 7 "
                  "AND MovMagDett.FlagStato = '2'");
    // A detail table without the price-list fields; any kind other than "D" is the level rows.
    EXPECT_TRUE(SqlRigheMovimento(2024, 7, "", "MovMagMatr", "MovMagLiv")
                    .startsWith("Select MovMagLiv.*, MovMagMatr.Articolo, Articoli.LivGruppo1"));
    EXPECT_EQ(SqlRigheApp("D", "MovMagDett", "MovMagLiv"),
              "Select MovMagDett.* from MovMagDett Where MovMagDett.Anno = -1");
    EXPECT_EQ(SqlRigheApp("L", "MovMagDett", "MovMagLiv"),
              "Select MovMagLiv.* from  MovMagLiv Where MovMagLiv.Anno = -1");

    // Rows without their article, level rows without their line: not selected.
    articolo("P1");
    riga(7, 1, "P1", 1, 1.0);
    riga(7, 2, "SCONOSCIUTO", 1, 1.0);
    livello(7, 1, "S", "ROSSO", 1, 1.0);
    livello(7, 3, "S", "ROSSO", 1, 1.0);
    EXPECT_EQ(conta(SqlRigheMovimento(2024, 7, "D", "MovMagDettApp", "MovMagLivApp")), 1);
    EXPECT_EQ(conta(SqlRigheMovimento(2024, 7, "L", "MovMagDettApp", "MovMagLivApp")), 1);
    EXPECT_EQ(conta(SqlRigheMovimento(2024, 7, "L", "MovMagDettApp", "MovMagLivApp", Variant("2"))), 0);
}

TEST_P(Selezioni, TheHeaderIsOpenedOnce)
{
    causale("CAR", {});
    movimento(1, "CAR", {{"Listino", "L1"}});
    movimento(2, "CAR");
    GestRecordset rec;
    QString alias;
    EXPECT_EQ(ApriTestataCausale(2024, 1, rec, alias), 0);
    ASSERT_FALSE(alias.isEmpty());
    EXPECT_EQ(rec.LeggiCampo(alias, u"MagCausali.CarScar").text(), "C");
    const QString primo = alias;
    EXPECT_EQ(ApriTestataCausale(2024, 2, rec, alias), 0);
    EXPECT_EQ(alias, primo);
    EXPECT_EQ(rec.LeggiCampo(alias, u"Listino").text(), "L1");
    // A movement without a header is an empty set, no error.
    QString altro;
    EXPECT_EQ(ApriTestataCausale(2024, 99, rec, altro), 0);
    EXPECT_TRUE(rec.NessunRecord(altro));
}

TEST_P(Selezioni, TheErrorFormsContent)
{
    articolo("P1");
    causale("CAR", {});
    movimento(1, "CAR", {{"Cambio", 1936.27}, {"MagazzinoDest", Variant::null()}});
    riga(1, 1, "P1", 1234.5, 1234.5678, {{"QtaAggMag", 2.25}, {"ValUnitario", 1.5}, {"ValLire", Variant::null()}});
    GestRecordset rec;
    QString tes;
    ASSERT_EQ(ApriTestataCausale(2024, 1, rec, tes), 0);
    const QString riga =
        rec.Apri(*ggDbAzienda, gsNomeConn, QString(), SqlRigheMovimento(2024, 1, "D", "MovMagDettApp", "MovMagLivApp"));
    const ContenutoErrAggMov c = ContenutoErroreMovimento("Errore (3260) bloccato", "Errore durante l'Aggiornamento",
                                                          rec, tes, riga, "MovMagDettApp");
    EXPECT_EQ(c.titolo, "Errore durante l'Aggiornamento");
    EXPECT_EQ(c.messaggio, "Errore (3260) bloccato");
    const std::map<int, QString> attesi = {
        {10, "1"},    {20, "15/03/2024"},  {30, "CAR"},      {40, "01"}, {50, ""},
        {60, ""},     {70, "Euro"},        {80, "1.936,27"}, {90, "P1"}, {100, "1.234,5"},
        {110, "1,5"}, {120, "1.234,5678"}, {130, "2,25"},    {140, ""},  {150, "1.234,5678"},
    };
    EXPECT_EQ(c.valori, attesi);
}

INSTANTIATE_TEST_SUITE_P(Engines, Selezioni, kBothEngines, engineParamName);

} // namespace
