#pragma once
// The help component bound to the test's company database (ggAiuto), as start-up binds it.
#include "aiutoditta.h"
#include "contesto.h"
#include "gestoreaiuto.h"

inline GestoreAiuto &installaAiutoDiProva()
{
    return LegaAiutoAllaDitta();
}
