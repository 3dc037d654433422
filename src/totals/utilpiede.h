#pragma once
// Small helpers of the footer's stages: code comparisons and the roundings of amounts, done on
// exact decimals so that a product at an exact half never loses a cent to binary floating point.
#include "currency.h"
#include "decimal.h"
#include "variant.h"

#include <QString>
#include <cstdint>

class VettoreChiavi;

namespace piede {

// The pseudo VAT code of the expenses whose VAT is apportioned over the document's codes.
inline const QString kIvaDaRipartire = QStringLiteral("~§~Ç");

// Whether a key of the breakdown is that pseudo code.
bool eIvaDaRipartire(const QString &chiave);
// Codes and flags compare ignoring letter case.
bool uguale(const QString &a, QLatin1String b);
inline bool eS(const QString &a) { return uguale(a, QLatin1String("S")); }
// A VAT type that makes a code exempt: "2", "3", "4" or "5".
bool tipoEsente(const QString &tipoIva);

// The amount rounded to `decimali` decimals, exact halves away from zero.
Currency arrotonda(Currency v, int16_t decimali);
// A number as the database gives it, read as the decimal the run-time shows, then rounded.
Currency arrotonda(double v, int16_t decimali);
// a x b / 10^esponenteDivisore, rounded to `decimali` decimals (halves away from zero), exact.
Currency prodotto(const DecimalNumber &a, const DecimalNumber &b, int esponenteDivisore, int16_t decimali);
// v / divisore, rounded to `decimali` decimals (halves away from zero), exact; divisore > 0.
Currency dividi(Currency v, int64_t divisore, int16_t decimali);
// A field's value as an amount: numbers as the run-time converts them, Empty and Null as 0.
Currency importo(const Variant &v);

// Whether a fixed expense or contribution is charged for goods worth `merce`: two bounds make
// a band (bounds included); a lone lower bound charges from it up, a lone upper bound up to it;
// no bound, always.
bool fissoAddebitato(Currency merce, Currency minimo, Currency massimo);
// Adds the amount to the key's entry (created at 0 when missing).
void sommaSpesa(VettoreChiavi &vettore, const QString &chiave, Currency v);

} // namespace piede
