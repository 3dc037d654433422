#pragma once
// The closing of a run's documents: for every document registered in the run's DocDaElab rows,
// its lock taken to stage "2", its footer computed, an invoice bearing stamps given its
// e-invoice stamp fields, the six totals written into its header, its lock and its DocDaElab
// row deleted.
#include <QString>

class AvanzamentoElab;
class scEvaOrdVen;

// Walks the rows under psAliasDocDaElab until their end or until pbEsci is set, advancing the
// run's progress counter by one per document, then closes that record set.
// A document that cannot be closed keeps its lock and its DocDaElab row for the recovery of
// interrupted runs, with a line in the run's error list, and the closing goes on; at its end
// pbEsci is then set, so that the run keeps its saved criteria as after a stop. Such are:
// - its lock is another user's, or cannot be taken again (nothing of it is touched);
// - its footer reports errors (the calculator's lines are listed; no total is written);
// - its e-invoice stamp fields cannot be written (no total is written).
// Any other error (a header that cannot be read or written, a lost DocDaElab row) ends the
// closing at once and reaches the caller; the documents not yet closed keep their rows.
void ChiudiFatBolle(scEvaOrdVen &eva, QString &psAliasDocDaElab, bool &pbEsci, AvanzamentoElab &avanzamento);
