// The last row numbers of a run's document, on both engines.
#include "connessionedb.h"
#include "contesto.h"
#include "dittaprova.h"
#include "rowwriter.h"
#include "scevaordven.h"
#include "ultimerighe.h"

#include <utility>

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

// The document is read once; the lines the run writes to it then tell the numbers, until a
// rollback, a lock taken anew, another document or another run makes it read again. A row
// written by nobody the run knows of (it holds the document's lock) shows when it reads again.
TEST_P(UltimeRighe, TheNumbersAreReadOnceAndReadAgainWhereTheRunsWritesMayNotTellThem)
{
    suite::insertRow(m_q, "FatDett", {{"Anno", 2024}, {"NumRif", 5}, {"RigDet", 3}, {"RigLiv", 9}});
    scEvaOrdVen eva;
    eva.oiAnno = 2024;
    eva.msTabDett = QStringLiteral("FatDett");
    int32_t rigDet = -1, rigLiv = -1;
    const auto cerca = [&](int32_t numRif) {
        CercaUltRigDetLiv(eva, rigDet, rigLiv, numRif);
        return std::pair{rigDet, rigLiv};
    };
    const auto altraRiga = [&](int rig) {
        suite::insertRow(m_q, "FatDett", {{"Anno", 2024}, {"NumRif", 5}, {"RigDet", rig}, {"RigLiv", rig}});
    };
    EXPECT_EQ(cerca(5), std::pair(3, 9));
    AnnotaRigaScritta(eva, 5, 4, 10);
    altraRiga(20);
    EXPECT_EQ(cerca(5), std::pair(4, 10));

    // a rollback on the connection
    ggDbAzienda->BeginTrans(gsNomeConn);
    ggDbAzienda->Rollback(gsNomeConn);
    EXPECT_EQ(cerca(5), std::pair(20, 20));
    // each document is known apart: a line of another one, another one read
    AnnotaRigaScritta(eva, 6, 30, 30);
    altraRiga(21);
    EXPECT_EQ(cerca(7), std::pair(0, 0));
    EXPECT_EQ(cerca(5), std::pair(20, 20));
    // the lock of the document taken anew
    DimenticaUltimeRighe(eva, 7);
    EXPECT_EQ(cerca(5), std::pair(20, 20));
    DimenticaUltimeRighe(eva, 5);
    EXPECT_EQ(cerca(5), std::pair(21, 21));
    // another run (and another year, another table) of the same object
    altraRiga(23);
    eva.mUltimeRighe.clear();
    EXPECT_EQ(cerca(5), std::pair(23, 23));
    eva.oiAnno = 2023;
    EXPECT_EQ(cerca(5), std::pair(0, 0));
    eva.oiAnno = 2024;
    eva.msTabDett = QStringLiteral("DdtDett");
    EXPECT_EQ(cerca(5), std::pair(0, 0));
}

TEST_P(UltimeRighe, TheHighestExpenseRow)
{
    for (const int riga : {2, 7, 3})
        suite::insertRow(m_q, "DdtSpese", {{"Anno", 2024}, {"NumRif", 5}, {"Riga", riga}});
    suite::insertRow(m_q, "DdtSpese", {{"Anno", 2023}, {"NumRif", 5}, {"Riga", 9}});

    scEvaOrdVen eva;
    eva.oiAnno = 2024;
    eva.msTabSpese = QStringLiteral("DdtSpese");
    int32_t riga = -1;
    CercaUltRigaSpese(eva, riga, 5);
    EXPECT_EQ(riga, 7);
    EXPECT_EQ(eva.msFase, "Ricerca ultima Riga Spese");
    CercaUltRigaSpese(eva, riga, 6);
    EXPECT_EQ(riga, 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, UltimeRighe, kBothEngines, engineParamName);

} // namespace
