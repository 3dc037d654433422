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
// A run that registered no document and left movement locks was a cash sale, whatever request
// is saved or given. There an order's movement (found by its lock, which names the order) is
// completed in the engine's recovery mode and posted as far as it was not; the order then gets
// its state and its release.
class scEvaOrdVen;

// True when everything was recovered. The request's year and types come from the request saved
// by the interrupted run when there is one, else from the engine's criteria as given.
bool RecuperaEvasione(scEvaOrdVen &eva);
