#pragma once
// What the picking tests share: the run tests' company, engine and dialogs, and a picking
// controller on that engine with a window answered by the test.
#include "controlloevamanu.h"
#include "evasionediprova.h"
#include "vistadiprova.h"

#include <memory>

class EvaManuProva : public EvasioneDiProva {
protected:
    void SetUp() override;
    void TearDown() override;

    // The controller of a newly loaded form on the test's engine, in manual mode.
    ControlloEvaManu &nuovoControllo();

    VistaDiProva finestra;
    std::unique_ptr<ControlloEvaManu> controllo;
};
