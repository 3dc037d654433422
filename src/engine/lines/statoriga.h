#pragma once
// The outcome of a line's conversion written back to the order, and the level walk of a line
// handled through its levels.
class scEvaOrdVen;
struct ConversioneRighe;
struct RigaInConversione;

// Inside the line's transaction, which it commits: the order line's fulfilled quantity, state
// and committed quantities (an article line of an order that is not open, without levels to
// walk), then its FlagStato: "B" when its levels follow, else "0".
void ScriviStatoRiga(scEvaOrdVen &eva, ConversioneRighe &c, const RigaInConversione &riga);

// The cursor rows of the current line, each level in a transaction of its own (a level already
// written by an interrupted run only counts in the totals; an automatic run passes over a level
// closed before); then the line's state from its
// levels, the line's own document row given the level totals when it has one, and the run
// markers of the line and its levels back to "0". Leaves the cursor on the line's last row.
void EvadoLivelliRiga(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga, bool rigaPropria);
