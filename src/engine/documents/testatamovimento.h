#pragma once
// The stock movement of a cash-sale order: its header created from the current order and locked
// for the run, and its release when the order gives it no row.
#include <QString>

class GestRecordset;
class scEvaOrdVen;

// The movement header of the current order (the order cursor's row), numbered in the financial
// year of the fulfilment date and locked (type "M", stage "0"); its key in miAnnoMov and
// mlNumRegMov, its record set under msRidMovTes and its lock under msAliasLockMov. A non-EU
// currency goes at the rate entered for the run; an order without a customer goes to the
// company's cash customer. A lock that cannot be taken (another user's row on the new number,
// or a failure) leaves no header behind and touches no lock row but its own. On failure: an
// error line and pbEsci True.
void CreaTestMovMag(scEvaOrdVen &eva, bool &pbEsci);

// Releases a movement inside one transaction. With pbFatRiep: the header on which psMovTes
// (of pgRecs) stands is deleted together with its lock row (held under psLocMov). Without it
// psMovTes is a cursor of documents whose movement locks would be released: the program calls
// it only on a cursor standing on a row, which releases nothing, and an empty cursor has
// nothing to release either. Either way the lock's record set is then closed and psLocMov
// emptied. A failure rolls back and becomes an error line; no stop flag. psRidDocTest,
// psCamNumMovim and psCamAnnoMovim are not used.
void CancellaTestMovMag(scEvaOrdVen &eva, GestRecordset &pgRecs, QString &psMovTes, QString &psLocMov,
                        const QString &psRidDocTest, bool pbFatRiep, const QString &psCamNumMovim,
                        const QString &psCamAnnoMovim);
