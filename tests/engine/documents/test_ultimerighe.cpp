// The last row numbers of a run's document, on both engines.
#include "dittaprova.h"
#include "rowwriter.h"
#include "scevaordven.h"
#include "ultimerighe.h"

namespace {

using UltimeRighe = DittaDiProva;

TEST_P(UltimeRighe, TheHighestRigDetAndRigLivAreTakenApart)
{
    // Document 2024/5: RigDet 1..3 with RigLiv 9, 7, 8; another document and another year.
    const int rig[][2] = {{1, 9}, {2, 7}, {3, 8}};
    for (const auto &r : rig)
        suite::insertRow(m_q, "FatDett", {{"Anno", 2024}, {"NumRif", 5}, {"RigDet", r[0]}, {"RigLiv", r[1]}});
    suite::insertRow(m_q, "FatDett", {{"Anno", 2024}, {"NumRif", 6}, {"RigDet", 40}, {"RigLiv", 40}});
    suite::insertRow(m_q, "FatDett", {{"Anno", 2023}, {"NumRif", 5}, {"RigDet", 50}, {"RigLiv", 50}});

    scEvaOrdVen eva;
    eva.oiAnno = 2024;
    eva.msTabDett = QStringLiteral("FatDett");
    int32_t rigDet = -1, rigLiv = -1;
    CercaUltRigDetLiv(eva, rigDet, rigLiv, 5);
    EXPECT_EQ(rigDet, 3);
    EXPECT_EQ(rigLiv, 9);
    EXPECT_EQ(eva.msFase, "Ricerca ultimo RigDet e RigLiv");
    CercaUltRigDetLiv(eva, rigDet, rigLiv, 7);
    EXPECT_EQ(rigDet, 0);
    EXPECT_EQ(rigLiv, 0);
    eva.msTabDett = QStringLiteral("DdtDett");
    CercaUltRigDetLiv(eva, rigDet, rigLiv, 5);
    EXPECT_EQ(rigDet, 0);
    EXPECT_EQ(rigLiv, 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, UltimeRighe, kBothEngines, engineParamName);

} // namespace
