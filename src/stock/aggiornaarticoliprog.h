#pragma once
// The posting of one stock-movement row into the progressive row of one warehouse
// (ArticoliProg of the movement's year, article and levels), or its removal, as the movement's
// stock causal prescribes: loads, issues, the opening balance, the last load and issue dates,
// the valuation of issues at cost, the numbered quantity counters, and the article's usual
// supplier.
#include "contestoposting.h"
#include "gestrecordset.h"

#include <QString>
#include <cstdint>

// psMagazzino: the warehouse posted. pbInvertiCarScar: the causal's load counts as an issue
// and the other way round (the destination of a transfer). psModo "A" posts, "D" un-posts.
// psTabRiga: the row table whose name qualifies the row fields. psAliasProg receives the alias
// of the progressive row, left open for the caller to close. psAliasCosti: the article's cost
// row of the year, read for the valuation at cost. pdVarGiacenza receives the stock change of
// the warehouse row (stock after - stock before; left as it was when un-posting finds no row),
// piSegnoCosto the direction of the cost update (0, 1 or -1). With piSoloValScarico 1 the unit
// issue values go to pdValScaricoLire / pdValScarico instead of the movement row.
// A missing row is created when posting. An empty stored quantity or value counts as 0, an
// empty stored date as earlier than any. Returns 0; errors reach the caller.
int16_t AggiornaArticoliProg(const QString &psMagazzino, bool pbInvertiCarScar, const QString &psModo,
                             GestRecordset &pgRec, const QString &psAliasTes, const QString &psAliasRiga,
                             const QString &psTipoRiga, const QString &psTabRiga, QString &psAliasProg,
                             const QString &psAliasCosti, double &pdVarGiacenza, int16_t &piSegnoCosto,
                             bool pbAggForArt, int16_t piSoloValScarico, double &pdValScaricoLire, double &pdValScarico,
                             ContestoPosting &contesto);
