#pragma once
// The footer tests' company: the fixture opened as the company database, the test expense
// masters, a connection to write documents with, and the calculator run on a document.
#include "dittaprova.h"
#include "documentiprova.h"
#include "sccalcpiedefat.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>

inline void PrintTo(const Currency &c, std::ostream *os) { *os << c.toString().toStdString(); }

// An amount written as text ("390.62").
inline Currency C(const char *testo) { return Currency::parse(QString::fromLatin1(testo)).value(); }

class ProvaPiede : public DittaDiProva {
protected:
    void SetUp() override
    {
        DittaDiProva::SetUp();
        if (!IsSkipped() && !HasFailure())
            scriviSpeseDiProva(m_q);
    }

    void scrivi(const DocumentoProva &d) { scriviDocumento(m_q, d); }

    // The calculator set for the document's family, as the closing of a run sets it.
    static void tabelle(scCalcPiedeFat &calc, bool fattura)
    {
        const QString pre = fattura ? QStringLiteral("Fat") : QStringLiteral("Ddt");
        calc.osTabTesta = pre + "Test";
        calc.osTabDett = pre + "Dett";
        calc.osTabLiv = pre + "Liv";
        calc.osTabSpese = pre + "Spese";
    }

    std::unique_ptr<scCalcPiedeFat> calcola(const DocumentoProva &d, const std::optional<Variant> &bolli = std::nullopt)
    {
        auto calc = std::make_unique<scCalcPiedeFat>();
        tabelle(*calc, d.fattura);
        calc->CalcPiedeFat(d.anno, d.numRif, false, -1, bolli);
        return calc;
    }

    // Writes the document and computes its footer.
    std::unique_ptr<scCalcPiedeFat> piede(const DocumentoProva &d, const std::optional<Variant> &bolli = std::nullopt)
    {
        scrivi(d);
        return calcola(d, bolli);
    }
};

// The error list must be empty: shown in full when it is not.
#define EXPECT_SENZA_ERRORI(calc) EXPECT_EQ((calc).oiNumErrori, 0) << (calc).osErrori.toStdString()
