#pragma once
// The supplier's data of the last purchase of a product (ArticoliFor, one row per article,
// level pair and supplier account): date, currency, unit cost with the row's expense share,
// unit of measure.
#include "gestrecordset.h"
#include "variant.h"

#include <QString>

// For the row being posted (psAliasRiga, its fields under the row table psTabRiga) of the
// movement psAliasTes: a row with a unit value of 0 or less or a negative stock quantity is
// skipped, a purchase older than the stored one changes nothing. Returns 0; errors reach the
// caller.
Variant AggiornaArticoliFor(GestRecordset &pgRec, const QString &psAliasTes, const QString &psAliasRiga,
                            const QString &psTipoRiga, const QString &psTabRiga, double pdTotRipartSpese,
                            const QString &psRipartSpesePercVal);
