// The select lists of the order and line grids in the user's column order, and the queries of
// the three grids.
#include "colonnegriglie.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

const QStringList kTestaInOrdine = {
    "OrdVenEvaTest.Utente", "OrdVenEvaTest.Anno", "OrdVenEvaTest.NumRif", "OrdVenTest.DataRif",
    "OrdVenEvaTest.Selez", "OrdVenEvaTest.EvadeTutto", "OrdVenTest.Descrizione", "OrdVenTest.Stato",
    "OrdVenTest.RifCli", "OrdVenTest.DataCons", "OrdVenTest.ConsTotale", "OrdVenTest.OrdAperto",
    "OrdVenTest.Pagamento", "OrdVenTest.MagazzProv", "OrdVenTest.IvaSosp", "OrdVenTest.PrezziIvati",
    "OrdVenTest.Iva", "OrdVenTest.Moneta", "OrdVenTest.ScontoPag", "OrdVenTest.Banca", "OrdVenTest.IndSped",
    "OrdVenTest.Vettore", "OrdVenTest.Resa", "OrdVenTest.Agente1", "OrdVenTest.Agente2",
    "OrdVenTest.MagazzDest", "OrdVenTest.Lingua", "OrdVenTest.NumDoc", "OrdVenTest.DataDoc"};

struct CasoTesta {
    const char *nome;
    std::vector<int16_t> ordine;
    std::vector<CampoAggTesta> agg;
    QStringList primi;      // the first items after Utente and Anno
    int16_t posSelez, posTutto;
    QString ultimo;         // the last item of the list
};

class ListaTestaCasi : public ::testing::TestWithParam<CasoTesta> {};

TEST_P(ListaTestaCasi, ColumnsFollowTheUsersOrderThenTheTableOrder)
{
    const CasoTesta &c = GetParam();
    std::array<int16_t, kCampiTesta> pos{};
    const QStringList lista = ListaTesta(c.ordine, c.agg, pos).split(QLatin1Char(','));
    EXPECT_EQ(lista.mid(0, 2), QStringList({"OrdVenEvaTest.Utente", "OrdVenEvaTest.Anno"}));
    EXPECT_EQ(lista.mid(2, c.primi.size()), c.primi);
    EXPECT_EQ(lista.size(), 29 + static_cast<int>(c.agg.size()));
    EXPECT_EQ(pos[4], c.posSelez);
    EXPECT_EQ(pos[5], c.posTutto);
    EXPECT_EQ(lista.last(), c.ultimo);
    // every standard field at the position recorded for it
    for (int k = 0; k < kCampiTesta; ++k)
        EXPECT_EQ(lista.at(pos[static_cast<size_t>(k)]), kTestaInOrdine.at(k)) << k;
}

INSTANTIATE_TEST_SUITE_P(
    Casi, ListaTestaCasi,
    ::testing::Values(
        CasoTesta{"nessuno", {}, {}, kTestaInOrdine.mid(2, 3), 4, 5, "OrdVenTest.DataDoc"},
        CasoTesta{"tre", {3, 4, 5}, {},
                  {"OrdVenEvaTest.Selez", "OrdVenEvaTest.EvadeTutto", "OrdVenTest.Descrizione", "OrdVenEvaTest.NumRif",
                   "OrdVenTest.DataRif", "OrdVenTest.Stato"},
                  2, 3, "OrdVenTest.DataDoc"},
        CasoTesta{"ripetuti", {3, 3, 28, 4}, {}, {"OrdVenEvaTest.Selez", "OrdVenEvaTest.EvadeTutto", "OrdVenEvaTest.NumRif"},
                  2, 3, "OrdVenTest.DataDoc"},
        CasoTesta{"aggiunta", {101, 102}, {{"OrdVenTest.Note", "Nota", 0, {}}},
                  {"OrdVenTest.Note as [Nota]", "OrdVenEvaTest.NumRif"}, 5, 6, "OrdVenTest.DataDoc"},
        CasoTesta{"aggiuntaInFondo", {}, {{"OrdVenTest.Note", "ordventest.note", 0, {}}}, kTestaInOrdine.mid(2, 1), 4,
                  5, "OrdVenTest.Note as [ordventest.note]"}),
    [](const ::testing::TestParamInfo<CasoTesta> &caso) { return std::string(caso.param.nome); });

TEST(ListaCorpo, WithoutOrderOrExtraColumnsLevelsOn)
{
    EXPECT_EQ(ListaCorpo(true, {}, {}),
              "NumRif,RigDet,Livello1,Livello2,Articolo,UM,Qta,QtaEvasa,QtaDaEva,ASaldo,ValUnitario,DataCons,"
              "Descrizione, Utente, Anno, RigLiv, RigLivRAEE");
}

TEST(ListaCorpo, LevelsOffHideTheLevelsAtTheEnd)
{
    EXPECT_EQ(ListaCorpo(false, {12, 13, 1}, {}),
              "NumRif,RigDet,Articolo,UM,Qta,QtaEvasa,QtaDaEva,ASaldo,ValUnitario,DataCons,Descrizione,"
              " Utente, Anno, RigLiv, Livello1, Livello2, RigLivRAEE");
}

TEST(ListaCorpo, OrderListAndExtraColumns)
{
    EXPECT_TRUE(ListaCorpo(true, {13, 1}, {}).startsWith("Descrizione,NumRif,RigDet,Livello1,"));
    EXPECT_TRUE(ListaCorpo(true, {9, 9, 14}, {}).startsWith("QtaDaEva,NumRif,RigDet,Livello1,"));
    const std::vector<CampoAggCorpo> due = {{.orig = {}, .titolo = "Colore", .colonna = "AltriTesto1", .formato = {}},
                                            {.orig = {}, .titolo = "Data", .tipo = 8, .colonna = "AltriData", .formato = {}}};
    EXPECT_TRUE(ListaCorpo(true, {101}, due).startsWith("AltriTesto1,NumRif,"));
    EXPECT_TRUE(ListaCorpo(true, {101}, due).contains("Descrizione,AltriData, Utente"));
    EXPECT_TRUE(ListaCorpo(true, {102}, due).startsWith("AltriData,NumRif,"));
    EXPECT_TRUE(ListaCorpo(true, {102}, due).contains("Descrizione,AltriTesto1, Utente"));
    EXPECT_TRUE(ListaCorpo(true, {103}, due).startsWith("NumRif,"));
}

TEST(SqlGrigliaCorpo, TheLevelFilterFollowsTheDisplay)
{
    const QString lista = QStringLiteral("NumRif");
    EXPECT_FALSE(SqlGrigliaCorpo(lista, "mario", false, true).contains("Livello1 ="));
    EXPECT_TRUE(SqlGrigliaCorpo(lista, "mario", true, true).contains(" and (Livello1 <> '*liv' or (Livello1 = ' ' And Livello2 = ' '))"));
    EXPECT_TRUE(SqlGrigliaCorpo(lista, "mario", true, false).contains(" and (Livello1 = '*liv' or (Livello1 = ' ' And Livello2 = ' '))"));
}

TEST(PixelDaTwip, TheScreenFactorWidensTheColumns)
{
    EXPECT_EQ(PixelDaTwip(1900, 1.25), PixelDaTwip(2375, 1));
    EXPECT_EQ(PixelDaTwip(1900, 0), PixelDaTwip(1900, 1));
}

} // namespace
