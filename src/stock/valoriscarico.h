#pragma once
// The unit issue values of the detail rows of a stock movement whose articles are kept by
// variant levels, from the level rows under them.
#include "avanzamentoelab.h"

#include <QString>
#include <cstdint>

// Every MovMagDett row of year piAnno (of movement plNumReg, or of every movement with -1; of
// articles from psArticoloDa to psArticoloA, a blank bound being none) whose article has levels
// (Articoli.LivGruppo1 not Null) gets ValScarico and ValScaricoLire: the quantity-weighted
// average of its MovMagLiv rows, at the euro and lire price decimals; a level row whose
// quantity is not positive counts its issue value once. When the level quantities sum to 0 the
// summed values go unrounded; a detail row without level rows keeps its own. Each row is stored
// on its own, no transaction; errors reach the caller, the rows stored so far keep their
// values. pgAvanzamento shows the progress.
void AggValoriScarico(AvanzamentoElab &pgAvanzamento, int16_t piAnno, int32_t plNumReg, const QString &psArticoloDa,
                      const QString &psArticoloA);
