#pragma once
// The recovery of a run interrupted by the end of its process (a crash, a kill): what the run
// had taken and not finished is brought to the end the run would have given it.
//
// Orders of the run are those this user's run still holds locked. An order whose lines or
// levels the run had marked and not finished is converted again in the engine's recovery mode
// (its finished lines and transferred levels kept) into the document that already holds its
// lines, or into the document its grouping rule finds (one of which nothing was written and
// that has nothing left to deliver is closed with no document); an order the run had finished but not
// released gets its expenses, its state and its release; an order not reached is only
// released. A registered document that got no line of an order is removed whole; then every
// document registered in DocDaElab by this user, program and year is closed with its totals,
// and the saved request is removed.
//
// Every movement a cash sale of this user left (a movement lock of the user), whatever request
// is saved or given, is done first: the order its rows come from (the lock names the order's
// number only) is completed in the engine's recovery mode into it, its rows numbered on from the
// movement's last, and it is posted as far as it was not; the order then gets its state and its
// release. A movement that got no row is removed with its lock. A movement that cannot be
// completed is named in the error list and kept, with its order, for a later recovery.
// A run that registered no document and left movement locks was a cash sale: an order whose
// lines it had taken without a movement gets one now, removed again with its lock when nothing
// of the order moves stock.
class scEvaOrdVen;

// An order whose data cannot be converted is refused as a run refuses it (its error line, its
// markers taken back, its lock released; what the run had written of it stays) unless a part of
// a line or a movement of it is half-written: it is then left, with the documents holding its
// lines, for a recovery after its data is corrected. An order that fails is named and left the
// same way. The other orders and documents are finished all the same.
enum class EsitoRipristino {
    Completo,  // everything brought to its end ("Ripristino terminato")
    ConErrori, // everything brought to its end or refused, with an error list ("Ripristino terminato")
    Fallito,   // something is left for another recovery, or the recovery itself failed
};

// The request's year and types come from the request saved by the interrupted run when there is
// one, else from the engine's criteria as given.
EsitoRipristino RecuperaEvasione(scEvaOrdVen &eva);
