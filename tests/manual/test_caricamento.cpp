// Loading the picking form: the parameters it reads.
#include "evamanuprova.h"

class Caricamento : public EvaManuProva {};

TEST_P(Caricamento, ParametriDelCaricamento)
{
    contesto->parametro(QStringLiteral("Mag.GesTaglie"), Variant(QStringLiteral("s")));
    contesto->personale(QStringLiteral("Ordini"), QStringLiteral("EvaManLivGruppo"), Variant(QStringLiteral("S")));
    contesto->personale(QStringLiteral("Vendite"), QStringLiteral("QtaDaDimen"), Variant(QStringLiteral("s")));
    contesto->personale(QStringLiteral("Vendite"), QStringLiteral("QtaDaDimUML"), Variant(QStringLiteral("M;CM")));
    contesto->personale(QStringLiteral("Vendite"), QStringLiteral("QtaDimenRapp"), Variant(QStringLiteral("0")));
    ControlloEvaManu &c = nuovoControllo();
    EXPECT_EQ(c.oiLoadOk(), 1);
    EXPECT_FALSE(c.mbMostraLivelli);
    EXPECT_TRUE(finestra.pulsLivVisibile);
    EXPECT_EQ(finestra.didascaliaLivelli, QStringLiteral("&Mostra Livelli"));
    EXPECT_TRUE(c.mbQtaDaDimen);
    EXPECT_EQ(c.msUMLineari, QStringLiteral(";M;CM;"));
    EXPECT_EQ(c.msUMQuadre, QStringLiteral(";;"));
    EXPECT_EQ(c.mdQtaDimenRapp, 1000);
    EXPECT_EQ(c.msCampiDett.size(), 17);
}

TEST_P(Caricamento, SenzaLivelliIlPulsanteNonSiVede)
{
    contesto->parametro(QStringLiteral("Mag.GesTaglie"), Variant(QStringLiteral("N")));
    ControlloEvaManu &c = nuovoControllo();
    EXPECT_TRUE(c.mbMostraLivelli);
    EXPECT_FALSE(finestra.pulsLivVisibile);
    EXPECT_FALSE(c.mbQtaDaDimen);
}

INSTANTIATE_TEST_SUITE_P(Motori, Caricamento, kBothEngines, engineParamName);
