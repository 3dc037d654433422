#pragma once
// What the cash-sale conversion of one order carries from line to line: the line cursor, the
// re-read order line, the decimals and the transaction mark it shares with the document-line
// conversion, the movement's row sets, and the movement rows written so far.
#include "campiriga.h"

#include <QString>
#include <cstdint>

class scEvaOrdVen;

struct Corrispettivo {
    ConversioneRighe conv;
    QString aliasMovDett; // MovMagDettApp: the row of the current line once written
    QString aliasMovLiv;  // MovMagLivApp
    int32_t righe = 0;    // RigReg of the last movement row written
};

// The amounts of a movement row in the order's currency and its lire and euro twins.
struct ImportiMovimento {
    double totale = 0, lire = 0, euro = 0;
};

// The amounts of `qtaMov` of the cursor's line (`livello` false) or level: the order's own
// when the whole ordered quantity moves, otherwise the quantity at the unit price less the
// line's cascade discount, converted at the order's rate. Gross of VAT.
ImportiMovimento ImportiDaMuovere(scEvaOrdVen &eva, const Corrispettivo &c, double qtaMov, bool livello);

// The cursor rows of the current line's levels, each in a transaction of its own: its row in
// MovMagLivApp (under a line that has a movement row of its own) and the order level's
// fulfilled quantity, state and committed quantities; then the line's state from its levels,
// the line's movement row given the net level totals, and the run markers back to "0". Leaves
// the cursor on the line's last row.
void EvadoLivelliCorrisp(scEvaOrdVen &eva, Corrispettivo &c, bool rigaPropria);
