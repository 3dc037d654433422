#pragma once
// The conversion of the current order's lines, as the run calls it for each order (through
// ServiziEvasione): document lines and level rows with their reference and description lines,
// the order lines' fulfilled quantities, states and run markers, the committed quantities
// released; the balance-only closing of the lines picked only to be closed; and the cash-sale
// conversion of an order into a posted stock movement.
//
// Each procedure reports its failures as the run wants them: one line in the run's error list
// (naming the stage in msFase), the open transaction rolled back and pbEsci set.
#include <QString>
#include <cstdint>

class scEvaOrdVen;

// The order's selected lines into lines of the header under msAliasTesDoc: one transaction per
// line (a line with levels together with its level rows), the order's reference and description
// lines committed with its first document line. piRigheCreate counts the document lines added
// (reference, description and article lines). pbRipri carries on a conversion an earlier run
// left unfinished, without writing again the order's block into a document that has its lines.
void EvadoOrdDett(scEvaOrdVen &eva, bool &pbEsci, int16_t &piRigheCreate, bool pbRipri);

// Balance-only: the picked lines and levels of the order closed ("E") and their remaining
// committed quantities released, in one transaction, the order's lock staged "5" then "6". A
// level already at "E" is left as it is.
void EvadeDettSoloASaldo(scEvaOrdVen &eva, bool &pbEsci);

// Cash sale: the order becomes one stock movement, its header made and locked here (type "M"),
// one row in MovMagDettApp per stock article line and one in MovMagLivApp per level of such a
// line, at the quantity moved and net of VAT, each line (with its levels) in a transaction of
// its own with the order's fulfilled quantities, states and committed quantities; then the movement
// is posted (RiaggiornaMovimentoCorrisp), the order's state written (not on an open order) and
// the movement's lock released. An order that gives no movement row leaves no header and no
// lock. pbRipri carries on an order an earlier run left unfinished. On failure: an error line,
// the open transaction rolled back, pbEsci set; what was committed stays for the recovery.
void EvadeDettCorrisp(scEvaOrdVen &eva, bool &pbEsci, bool pbRipri);

// The fulfilled quantity and state of an order line handled through its levels: psROrdDetAgg is
// the updatable re-read of the line, psROrdDet a cursor standing on a row of it;
// pdTotQtaEvaDet is added to QtaEvasa. Nothing for an open order or a line that is not an
// article line. Errors reach the caller.
void ControllaDettaglioEvaso(scEvaOrdVen &eva, const QString &psROrdDetAgg, const QString &psROrdDet,
                             double pdTotQtaEvaDet);

// Whether the current order has nothing to deliver: in a manual run (not a cash sale) none of
// the current user's staged rows of it has a quantity, in an automatic run none of its selected
// article lines has anything left (all fulfilled, closed to balance or delivered beyond their
// quantity, or no line at all). Such an order gets no document and no movement: its lines are
// closed as in a balance-only run (an automatic run closes only its article lines, releasing
// nothing). Errors reach the caller.
bool OrdineSoloASaldo(scEvaOrdVen &eva);
