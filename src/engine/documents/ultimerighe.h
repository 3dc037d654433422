#pragma once
// The highest row numbers of a run's document, asked just before a row is appended to it.
#include <cstdint>

class scEvaOrdVen;

// The highest RigDet and, taken apart, the highest RigLiv of the lines of document
// oiAnno/plNumRif in the run's lines table; 0 and 0 for a document without lines. Sets the
// stage text; errors reach the caller.
void CercaUltRigDetLiv(scEvaOrdVen &eva, int32_t &plRigDet, int32_t &plRigLiv, int32_t plNumRif);
