#pragma once
// The expenses of the current order that the user selected (OrdVenEvaSpese, Selez "S") carried
// into the current target document after its lines, each by its code's Spese.TipoEvasione:
// 1 added once per document, 2 added every time, 3 added once and then summed into that row's
// Importo; any other value is not carried.
class scEvaOrdVen;

// Reads the order cursor and the header alias of the run; stops before the next expense when
// pbEsci is set (never sets it). No handler: an error, an expense code missing from Spese
// included, reaches the caller with the stage text set here; rows already added stay.
void EvadoOrdSpese(scEvaOrdVen &eva, bool &pbEsci);
