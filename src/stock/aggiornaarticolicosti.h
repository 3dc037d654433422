#pragma once
// The cost record of a product (ArticoliCosti, one row per year, article and level pair) kept
// in step with the stock-movement rows posted: weighted average cost, last cost with the row's
// share of the movement's expenses, highest cost, purchase and sale totals, load totals; a new
// last cost re-prices the sale price lists named on the row.
#include "contestoposting.h"
#include "gestrecordset.h"
#include "variant.h"

#include <QString>
#include <cstdint>

// psOper "A" posts the row, "D" takes it out. psAliasCosti: an updatable set on the cost row of
// the movement's year, article and levels (empty when there is none: posting creates it,
// un-posting then does nothing). pdVarGiac and piSegnoMedioC: the stock change and the
// load-total direction the progressives handed back. pdTotRighe and psRipartPercVal: the
// movement's row total and the user's setting for the expense share (0 and "" without
// expenses). A cost row without a last-cost date takes the row's last cost. Returns Empty;
// errors reach the caller.
Variant AggiornaArticoliCosti(const QString &psOper, GestRecordset &pgRs, const QString &psAliasTes,
                              const QString &psAliasRiga, const QString &psTipoRiga, const QString &psTabRiga,
                              const QString &psAliasCosti, double pdVarGiac, int16_t piSegnoMedioC, double pdTotRighe,
                              const QString &psRipartPercVal, ContestoPosting &contesto);
