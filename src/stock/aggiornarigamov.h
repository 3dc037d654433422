#pragma once
// The posting of one stock-movement row into the product data, or its removal: the row's
// quantity in the stock unit and its unit values, the article's cost row of the year, the
// progressives of the warehouse the goods leave and of the one they enter, the article's
// costs and, under the supplier-data switch, the supplier data.
#include "contestoposting.h"
#include "gestrecordset.h"

#include <QString>
#include <cstdint>

// psModo "A" posts, "D" un-posts. pbRigheDefinitive False, when posting, reads the row fields
// under the work tables' names (MovMagDettApp, MovMagLivApp). psAliasTes is the movement
// header joined with its causal, psAliasRiga the row joined with its article, positioned on
// the row; psTipoRiga "D" a detail row, "L" a level row. pdTotRipartSpese -1 means no expense
// sharing: it becomes 0 and psRipartSpesePercVal empty, in the caller's variables.
// Rows that move no stock (an article not kept in stock, a causal of kind "O" or "D", the
// detail row of an article with levels) are skipped. Returns 0; every error reaches the
// caller, with the record sets opened for the row closed.
int16_t AggiornaRigaMov(const QString &psModo, bool pbRigheDefinitive, GestRecordset &pgRec, const QString &psAliasTes,
                        const QString &psAliasRiga, const QString &psTipoRiga, bool pbAggForArt,
                        int16_t piSoloValScarico, double &pdValScaricoLire, double &pdValScarico, bool pbAggProg,
                        bool pbAggCosti, double &pdTotRipartSpese, QString &psRipartSpesePercVal,
                        ContestoPosting &contesto);
