#pragma once
// The break fields by which manual picking cuts its orders into groups that can go into one
// document: the grouping fields of an order read into the engine's new record, compared with
// the old one, copied over it.
#include <QString>

class GestRecordset;
class scEvaOrdVen;

// Fills mvCampiRotNew from the current row of psRid, which carries the order's columns as
// "OrdVenTest." + column.
void CampiRotLeggi(scEvaOrdVen &eva, GestRecordset &pgRecs, const QString &psRid);
// mvCampiRotNew copied over mvCampiRotOld.
void CampiRotNew2Old(scEvaOrdVen &eva);
// Whether the order of the new record needs another document than the order of the old one:
// a grouping field differs (text ignoring case), or its grouping rule RagOrd is "N", or "O"
// with another order, or "C" with another contract.
bool CampiRotDiversi(scEvaOrdVen &eva);
// The order in which manual picking reads its selection, so that the orders that can share a
// document stand next to each other: the customer and the other break fields (Null as the
// empty text), the contract, then year and number.
QString CampiRotOrdinamento(const scEvaOrdVen &eva);
