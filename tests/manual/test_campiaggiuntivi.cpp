// The user's extra grid columns and column order lists, read when the picking form loads.
#include "evamanuprova.h"

class CampiAgg : public EvaManuProva {
protected:
    void par(const QString &nome, const QString &valore)
    {
        contesto->personale(QStringLiteral("Ordini"), nome, Variant(valore));
    }
    // PostgreSQL keeps texts and memos in one unbounded type: a memo source there is a text,
    // which the unbounded spare text columns carry whole.
    int16_t memo() const { return GetParam() == Engine::SQLite ? 12 : 10; }
    QStringList corpo(const CampiAggiuntivi &c)
    {
        QStringList out;
        for (const CampoAggCorpo &x : c.corpo)
            out << QStringLiteral("%1|%2|%3|%4|%5|%6").arg(x.orig, x.titolo).arg(x.larg).arg(x.tipo).arg(x.colonna, x.formato);
        return out;
    }
};

TEST_P(CampiAgg, ColonneDellaTestata)
{
    par(QStringLiteral("EvaLisCampiTeAgg1"), QStringLiteral("OrdVenTest.Vettore"));
    par(QStringLiteral("EvaLisCampiTeAgg2"), QStringLiteral("OrdVenTest.Resa:Porto:1200:#,##0.00:x"));
    par(QStringLiteral("EvaLisCampiTeAgg3"), QStringLiteral("1; Delete from OrdVenTest:Danno"));
    par(QStringLiteral("EvaLisCampiTeAgg4"), QStringLiteral("OrdVenTest.NumDoc -- commento"));
    par(QStringLiteral("EvaLisCampiTeAgg5"), QStringLiteral("OrdVenTest.Resa:Nome] ; x"));
    par(QStringLiteral("EvaLisCampiTeAgg7"), QStringLiteral("OrdVenTest.Lingua")); // after a gap: not read
    par(QStringLiteral("EvaOrdCampiTesta"), QStringLiteral("3,-2,5,abc,102"));
    ControlloEvaManu &c = nuovoControllo();
    ASSERT_EQ(c.mCampiAgg.testa.size(), 2u);
    EXPECT_EQ(c.mCampiAgg.testa[0].nome, QStringLiteral("OrdVenTest.Vettore"));
    EXPECT_EQ(c.mCampiAgg.testa[0].larg, 0);
    EXPECT_EQ(c.mCampiAgg.testa[0].formato, QString());
    EXPECT_EQ(c.mCampiAgg.testa[1].nome, QStringLiteral("Porto"));
    EXPECT_EQ(c.mCampiAgg.testa[1].larg, 1200);
    EXPECT_EQ(c.mCampiAgg.testa[1].formato, QStringLiteral("#,##0.00"));
    EXPECT_EQ(c.mCampiAgg.ordColTesta, (std::vector<int16_t>{3, 5, 102}));
    EXPECT_EQ(dialoghi->testi, QStringList{"Colonne aggiuntive non valide nei parametri personali (Ordini), non mostrate: "
                                           "EvaLisCampiTeAgg3, EvaLisCampiTeAgg4, EvaLisCampiTeAgg5"});
}

// A header source is a field of the header query's tables (the order's first, written with its
// table), or an expression the engine takes in that query; the others are left out, told once.
TEST_P(CampiAgg, ColonneDellaTestataControllateSulloSchema)
{
    const char *definizioni[] = {
        "OrdVenTest.Listino:Listino Cliente:900", // a name with a blank
        "Inesistente",
        "OrdVenTest.Inesistente",
        "selez:Scelto",                           // of the staging row
        "Vettore",                                // of the order
        "PianoConti.Descrizione",                 // a table the query does not read
        "OrdVenTest.Vettore & '-' & OrdVenTest.Resa:Trasporto",
        "OrdVenTest.Vettore & Inesistente:Rotto",
        "UCase(OrdVenTest.Resa):Resa",
    };
    int n = 0;
    for (const char *d : definizioni)
        par(QStringLiteral("EvaLisCampiTeAgg%1").arg(++n), QString::fromLatin1(d));
    ControlloEvaManu &c = nuovoControllo();
    QStringList testa;
    for (const CampoAggTesta &x : c.mCampiAgg.testa)
        testa << x.orig + "|" + x.nome + "|" + QString::number(x.larg);
    EXPECT_EQ(testa, (QStringList{"OrdVenTest.Listino|Listino Cliente|900", "OrdVenEvaTest.selez|Scelto|0",
                                  "OrdVenTest.Vettore|Vettore|0", "OrdVenTest.Vettore & '-' & OrdVenTest.Resa|Trasporto|0",
                                  "UCase(OrdVenTest.Resa)|Resa|0"}));
    EXPECT_EQ(dialoghi->testi, QStringList{"Colonne aggiuntive non valide nei parametri personali (Ordini), non mostrate: "
                                           "EvaLisCampiTeAgg2, EvaLisCampiTeAgg3, EvaLisCampiTeAgg6, EvaLisCampiTeAgg8"});
}

TEST_P(CampiAgg, PrimaDefinizioneVuotaNessunaColonna)
{
    par(QStringLiteral("EvaLisCampiTeAgg2"), QStringLiteral("OrdVenTest.Vettore"));
    par(QStringLiteral("EvaLisCampiAgg2"), QStringLiteral("Descrizione"));
    ControlloEvaManu &c = nuovoControllo();
    EXPECT_TRUE(c.mCampiAgg.testa.empty());
    EXPECT_TRUE(c.mCampiAgg.corpo.empty());
    EXPECT_TRUE(c.mCampiAgg.ordColTesta.empty());
    EXPECT_TRUE(dialoghi->testi.isEmpty());
}

TEST_P(CampiAgg, ColonneDelleRigheSuiCampiDiRicambio)
{
    contesto->parametro(QStringLiteral("Mag.GesTaglie"), Variant(QStringLiteral("N")));
    par(QStringLiteral("EvaLisCampiAgg1"), QStringLiteral("Descrizione"));
    par(QStringLiteral("EvaLisCampiAgg2"), QStringLiteral("Articoli.Descrizione:Descr. articolo:1500"));
    par(QStringLiteral("EvaLisCampiAgg3"), QStringLiteral("OrdVenDett.UM"));
    par(QStringLiteral("EvaLisCampiAgg4"), QStringLiteral("Iva")); // a fourth text: no spare column left
    par(QStringLiteral("EvaLisCampiAgg5"), QStringLiteral("DataCons:Consegna::dd/mm/yy"));
    par(QStringLiteral("EvaLisCampiAgg6"), QStringLiteral("Qta:Q:0:#,##0.000:0"));
    par(QStringLiteral("EvaLisCampiAgg7"), QStringLiteral("Colli"));
    par(QStringLiteral("EvaLisCampiAgg8"), QStringLiteral("NotaSopra"));
    par(QStringLiteral("EvaLisCampiAgg9"), QStringLiteral("CampoCheNonEsiste"));
    par(QStringLiteral("EvaLisCampiAgg10"), QStringLiteral("Livello1")); // a level field only with levels
    par(QStringLiteral("EvaLisCampiAgg11"), QStringLiteral("PianoConti.Descrizione"));
    par(QStringLiteral("EvaLisCampiAgg12"), QStringLiteral("Qta) from OrdVenDett; --"));
    par(QStringLiteral("EvaOrdCampiCorpo"), QStringLiteral("1,2,101"));
    ControlloEvaManu &c = nuovoControllo();
    QStringList attese{
        "Descrizione|Descrizione|0|10|AltriTesto1|",
        "Articoli.Descrizione|Descr. articolo|1500|10|AltriTesto2|",
        "OrdVenDett.UM|OrdVenDett.UM|0|10|AltriTesto3|",
        "DataCons|Consegna|0|8|AltriData|dd/mm/yy",
        "Qta|Q|0|7|AltriDouble1|#,##0.000",
        "Colli|Colli|0|4|AltriLong|",
    };
    if (memo() == 12)
        attese << QStringLiteral("NotaSopra|NotaSopra|0|12|AltriMemo|");
    EXPECT_EQ(corpo(c.mCampiAgg), attese);
    EXPECT_EQ(c.mCampiAgg.ordColCorpo, (std::vector<int16_t>{1, 2, 101}));
    EXPECT_EQ(dialoghi->testi, QStringList{"Colonne aggiuntive non valide nei parametri personali (Ordini), non mostrate: "
                                           "EvaLisCampiAgg9, EvaLisCampiAgg10, EvaLisCampiAgg11, EvaLisCampiAgg12"});
}

TEST_P(CampiAgg, TipoDelCampo)
{
    struct Caso {
        const char *campo;
        bool livelli;
        int16_t tipo;
    } const casi[] = {
        {"Qta", false, 7},             // OrdVenDett first
        {"ordvendett.qta", false, 7},
        {"Articoli.Descrizione", false, 10},
        {"RigDet", false, 4},          // 32-bit
        {"Colli", false, 4},           // 16-bit
        {"DataCons", false, 8},
        {"NotaSopra", false, memo()},
        {"Livello1", false, -1},       // OrdVenLiv only with levels
        {"OrdVenLiv.Livello1", false, -1},
        {"Livello1", true, 10},
        {"StatoRiga", true, 10},       // OrdVenDett's, before OrdVenLiv's
        {"Nessuno", true, -1},
        {"Testate.Qta", true, -1},
        {"Qta + 1", true, -1},
    };
    nuovoControllo();
    for (const Caso &caso : casi)
        EXPECT_EQ(CercaTipo(QString::fromLatin1(caso.campo), caso.livelli), caso.tipo) << caso.campo;
}

INSTANTIATE_TEST_SUITE_P(Motori, CampiAgg, kBothEngines, engineParamName);
