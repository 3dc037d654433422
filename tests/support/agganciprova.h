#pragma once
// The program's hooks replaced for a test's scope: each call is counted, the previous hooks
// come back after.
#include "agganci.h"

class AgganciDiProva {
public:
    AgganciDiProva()
    {
        m_precedenti = impostaAgganci({[this] { ++chiusureCollegamenti; },
                                       [this] {
                                           ++terminazioni;
                                           return Variant(true);
                                       }});
    }
    ~AgganciDiProva() { impostaAgganci(std::move(m_precedenti)); }
    AgganciDiProva(const AgganciDiProva &) = delete;
    AgganciDiProva &operator=(const AgganciDiProva &) = delete;

    int chiusureCollegamenti = 0;
    int terminazioni = 0;

private:
    AgganciProgramma m_precedenti;
};
