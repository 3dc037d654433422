#pragma once
// The amounts of a line net of VAT, as a stock movement carries them: the VAT is taken out of a
// line priced VAT-inclusive when its VAT code is taxable, and the unit value follows from the
// net amount. Reads and writes no table.
#include "variant.h"

#include <QString>
#include <cstdint>

// Whether amounts of a line with this VAT kind, on an order with this prices-include-VAT flag,
// carry VAT to take out: kind "0" or "1" with "S" (letter case ignored).
bool IvaDaScorporare(const QString &tipoIva, const QString &prezziIvati);

// VAT kind "0" or "1" with prices including VAT ("S"): the amount, its lire and its euro twin net
// of VAT, at the order currency's, the lire and the euro decimals; otherwise the three as given.
// The unit value is the net amount over the quantity rounded down to `decUnitario` decimals, or
// the net amount itself for a quantity of 0. `valUnitario` is not used. A non-numeric amount
// raises 13, a unit value that overflows 6.
void ScorporaValoriRiga(const Variant &qta, const QString &tipoIva, const Variant &aliquota,
                        const QString &prezziIvati, int16_t decImporto, int16_t decUnitario,
                        const Variant &valUnitario, const Variant &importo, const Variant &importoLire,
                        const Variant &importoEuro, Variant &valUnitarioNetto, Variant &importoNetto,
                        Variant &importoLireNetto, Variant &importoEuroNetto);
