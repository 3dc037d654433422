#pragma once
// The exchange rate at which the current order of the order cursor goes into a document: an EU
// currency, the lire or the euro keep the order's own rate; any other currency takes the rate
// entered for the run.
class scEvaOrdVen;

// Whether the order's currency keeps the order's own rate (Monete.Cee "S", or the company's lire
// or euro code).
bool CambioDellOrdine(scEvaOrdVen &eva);
// The order's rate. A currency without a rate entered for the run (0) is an error for the
// order: at a rate of 0 every amount would come out 0.
double CambioOrdine(scEvaOrdVen &eva);
