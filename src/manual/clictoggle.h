#pragma once
// What a click on a flag cell of the picking grids does to the flags of its row: the header's
// "Sel." and "Tutto" (moving together for an order to be delivered in full), a line's
// "A Saldo" (never switched on for a level summary row) and an expense's "Sel.". The
// controller writes the result and then handles the row as a saved row.
#include <QString>

struct FlagOrdine {
    QString selez;
    QString evadeTutto;
};

namespace clicFlag {

// "S" becomes "N"; anything else ("N", an unknown text, nothing) becomes "S".
QString Inverti(const QString &flag);
// A click on `campo` ("Selez" or "EvadeTutto") of an order; other fields change nothing.
FlagOrdine Testata(const QString &campo, const FlagOrdine &attuale, const QString &consTotale);
// A click on "A Saldo" of a line: the new flag, or "" when the click is refused (a summary
// row showing "N").
QString ASaldo(const QString &attuale, const QString &livello1);

} // namespace clicFlag
