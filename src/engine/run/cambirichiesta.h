#pragma once
// The rates an automatic request needs before its run: every currency of the selected orders
// that the document headers take from the engine's rate vector (not an EU currency, and not
// the lire or euro code), listed in ogCambi with the rate known at the fulfilment date (0 when
// none is known). The dialog then lets the user confirm or correct them.
class scEvaOrdVen;

void CaricaCambiRichiesta(scEvaOrdVen &eva);
