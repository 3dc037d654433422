#pragma once
// Conversion of values between a document's currency, lire and euro, with the company's
// lire/euro rate ("Ditta.CambioLiraEuro", read with "," as the decimal sign whatever the
// workstation) or a document's own rate and operator, rounded to a currency's decimals or by
// the company's band tables.
//
// Rate and operator: with "/" the rate is the currency units per euro (euro = value / rate),
// with "*" the euro value of one unit (euro = value x rate).
#include "variant.h"

#include <QString>
#include <optional>

// The value in euro. A currency equal to the lire code takes the company's rate and operator,
// the euro code rate 1 and "*", any other the rate and operator passed (the company's operator
// when none is passed). An empty rate counts as 0; with "/" a rate of 0 leaves the value as it
// is, any other operator multiplies. Rounded by the euro table when `arrotTabella`, else to the
// decimals (default the euro price decimals) when `arrotDecimali`.
double ConvertiInEuro(const Variant &valore, const Variant &cambio, const std::optional<QString> &operatore = std::nullopt,
                      const std::optional<QString> &moneta = std::nullopt, bool arrotDecimali = false,
                      const std::optional<Variant> &decimali = std::nullopt, bool arrotTabella = false);

// The euro value in the currency: the inverse of ConvertiInEuro. The euro code takes rate 1 and
// "/"; an empty rate counts as 1; with "*" the value is divided (a rate of 0 leaves it), with
// any other operator multiplied. Rounded by the lire table when `arrotTabella`, else to the
// decimals (default the lire price decimals) when `arrotDecimali`.
double ConvertiDaEuro(const Variant &valore, const Variant &cambio, const QString &operatore,
                      const std::optional<QString> &moneta = std::nullopt, bool arrotDecimali = false,
                      const std::optional<Variant> &decimali = std::nullopt, bool arrotTabella = false);

// The value of `moneta` (default the company's currency) written as lire, euro and currency
// value into the outputs given. Mode "E" (what every caller passes; "E" as argument 17 and
// chain 0 too): the euro value comes first; any other text but "M": lire first; "M": the value
// is in the company's currency ("L" as `tipoMonetaDitta` when that is lire) and the result is
// the currency value. With chain -1 the second currency is derived from the rounded first.
// Omitted decimals are the price decimals of lire and euro. The result is the company-currency
// value (lire when the company's currency is the lire code, else euro).
Variant ConvertiValute(const Variant &valore, const Variant &cambio, const QString &operatore,
                       const std::optional<Variant> &moneta, Variant *valLire, Variant *valEuro, Variant *valValuta,
                       bool arrotLire, bool arrotEuro, bool arrotValuta, const std::optional<Variant> &decLire,
                       const std::optional<Variant> &decEuro, const std::optional<Variant> &decValuta, bool tabLire,
                       bool tabEuro, const QString &modo, const QString &tipoMonetaDitta, int16_t catena);

// Lire to euro with the company's rate, rounded by the euro table, or to the euro decimals.
double LireInEuro(const Variant &valore, bool tabEuro, bool arrotEuro, const std::optional<Variant> &decEuro = std::nullopt);
// Euro to lire with the company's rate, rounded by the lire table, or to the lire decimals.
double EuroInLire(const Variant &valore, bool tabLire, bool arrotLire, const std::optional<Variant> &decLire = std::nullopt);
