#pragma once
// The highest row numbers of a run's document, asked just before a row is appended to it.
#include <cstdint>

class scEvaOrdVen;

// The highest RigDet and, taken apart, the highest RigLiv of the lines of document
// oiAnno/plNumRif in the run's lines table; 0 and 0 for a document without lines. Sets the
// stage text; errors reach the caller. The document is read once while the run holds its lock:
// after that the lines the run writes to it (AnnotaRigaScritta) tell the numbers, until a
// rollback on the connection, another document or a lock taken anew (DimenticaUltimeRighe)
// makes it read again.
void CercaUltRigDetLiv(scEvaOrdVen &eva, int32_t &plRigDet, int32_t &plRigLiv, int32_t plNumRif);
// A line stored in document oiAnno/plNumRif of the run's lines table.
void AnnotaRigaScritta(scEvaOrdVen &eva, int32_t plNumRif, int32_t plRigDet, int32_t plRigLiv);
// The numbers known of document oiAnno/plNumRif are dropped: its next line reads them again.
void DimenticaUltimeRighe(scEvaOrdVen &eva, int32_t plNumRif);
// The highest Riga of the expense rows of document oiAnno/plNumRif in the run's expense table;
// 0 when it has none. Sets the stage text; errors reach the caller.
void CercaUltRigaSpese(scEvaOrdVen &eva, int32_t &plRiga, int32_t plNumRif);
