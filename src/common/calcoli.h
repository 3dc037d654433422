#pragma once
// Amount arithmetic shared by the line conversion, the document totals and the stock posting:
// cascade discounts, VAT added to or taken out of an amount, percentages, discounted values,
// line amounts and withholding tax.
//
// Numbers arrive as variants (numbers, or numeric text read with the comma as the decimal
// sign whatever the process locale); Null and Empty count as 0. Every rounding goes through
// UtilGenerali::ArrotondaValore, so it is decimal-correct (5.75 at 22 % is 1.265 and rounds to
// 1.27). A product of two fixed-point amounts (or of an amount and a whole number) is held to
// four decimals before it is divided, as the run-time's arithmetic does; any other product is
// a double. Results are variant doubles unless said otherwise.
#include "currency.h"
#include "variant.h"

#include <QString>
#include <cstdint>

// Decimals passed to CalcScontoComposto for "no rounding".
inline constexpr int16_t kNessunArrotondamento = -999;

// Whether the text is a well-formed cascade discount: digits, "+", "-", blanks and the decimal
// comma, never two signs in a row. An empty text is well formed.
bool EspressioneNumValida(const QString &testo);

// The combined percentage of a cascade discount ("10+5" is 14.5, "10,5+3" 13.185, "20-5" a
// discount then a surcharge), starting from `iniziale`, rounded to `decimali` decimals (nearest)
// unless they are kNessunArrotondamento. A blank text gives `iniziale`; an ill-formed text, or a
// term that cannot be read, gives `iniziale` with *errore set True. Never raises.
Variant CalcScontoComposto(const QString &testo, bool *errore = nullptr, double iniziale = 0.0,
                           int16_t decimali = 6);

// The amount plus its VAT: the amount rounded to `decimali` decimals with `modo`, plus
// CalcImportoPerc of it. At rate 0 the amount comes back as it was given, unrounded.
Variant CalcConIva(const Variant &importo, const Variant &aliquota, int16_t decimali, const QString &modo);

// `percentuale` % of the value, rounded to `decimali` decimals: to the nearest, or away from
// zero ("S" for values of 0 or more, "I" below) when gsArrotIvaEuro is "S" or fewer than two
// decimals are asked (lire).
Variant CalcImportoPerc(const Variant &valore, const Variant &percentuale, int16_t decimali);

// The taxable part of a VAT-inclusive amount, rounded to `decimali` decimals: toward zero when
// gsArrotIvaEuro is "S" or fewer than two decimals are asked; otherwise to the nearest, unless
// the taxable part plus its VAT would then exceed the amount (0.36 at 22 % is 0.29, not 0.30),
// when it is truncated instead. At rate 0 the amount comes back unchanged. Rate -100 raises 11.
Variant ScorporaIva(const Variant &lordo, const Variant &aliquota, int16_t decimali);

// The value less `percentuale` %: rounded to `decimali` decimals (nearest) with `conArrotondamento`,
// otherwise kept to 8 decimals.
Variant ApplicaSconto(const Variant &valore, const Variant &percentuale, int16_t decimali, bool conArrotondamento);

// The net unit price: ApplicaSconto with the arguments in the callers' order.
Variant CalcPrezzoNetto(const Variant &prezzo, const Variant &percentuale, bool conArrotondamento, int16_t decimali);

// The line amount: the net unit price times the quantity. The product is not rounded here.
// `arrotondaNetto` rounds the net unit price first (the callers pass gbArrUnitIntermedio).
Variant CalcImportoRiga(const Variant &prezzo, const Variant &quantita, const Variant &percentuale,
                        bool arrotondaNetto, int16_t decimali);

// The key under which the VAT breakdown files one cost centre and competence: "C" & centre &
// "D" & competence, the codes as they are.
Variant ChiaveControP(const QString &centro, const QString &competenza);

// The withholding tax of the amount, unrounded. A rate below 100 is a plain percentage of the
// whole amount. From 100 up it packs the percentage and the share subject to withholding (see
// ScomponiRitenuta): the amount is then replaced by its share, rounded to `decimali` decimals
// (nearest), and the tax is computed on it.
Variant CalcRitenuta(Currency &importo, double aliquota, int16_t decimali);

// Splits a packed withholding rate: the whole part / 100 is the percentage (2050 is 20.50 %),
// the first four decimals / 100 the share of the amount (.5 is 50.00 %; 0 means 100 %). Both
// rounded to two decimals.
void ScomponiRitenuta(double aliquota, double &percentuale, double &quota);

// The decimals as a 16-bit integer; the value is not used.
Variant VarDaIntero(const Variant &valore, int16_t decimali);
