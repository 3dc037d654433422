#pragma once
// The program's hooks: fixed procedures through which the shared modules call back into the
// program. Start-up installs what the program does for each; until then each does the least
// its name promises (see below), so the shared modules run on their own in tests.
#include "variant.h"

#include <functional>

// Releases the company database objects and the menu-server link. Without an installed hook:
// ggDbDao and ggDbAzienda are released, the menu client is asked to disconnect and released
// with the command receiver, every error ignored.
void ChiudiCollegamenti();
// Ends the program now; the answer tells whether it ended. Without an installed hook: asks the
// event loop to quit and answers True.
Variant TerminaProgramma();
// After a fatal start-up error: TerminaCollegamenti(flag). Answers Empty.
Variant ChiudiPerErrore(bool flag);

struct AgganciProgramma {
    std::function<void()> ChiudiCollegamenti;
    std::function<Variant()> TerminaProgramma;
};

// Installs the hooks (an empty function restores the behaviour without one); returns the
// previous ones.
AgganciProgramma impostaAgganci(AgganciProgramma agganci);
