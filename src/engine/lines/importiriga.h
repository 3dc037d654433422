#pragma once
// The amounts of a document line or level row. A line or level that goes whole keeps the
// order's own total; any other gets it recomputed from its unit price, the line's cascade
// discount and the quantity delivered. The lire and euro twins follow the document's rate.
#include "variant.h"

#include <QString>
#include <cstdint>

class scEvaOrdVen;

// The order's currency and the two rates a total is converted with.
struct CambioRiga {
    Variant cambioDocumento; // the target header's Cambio
    Variant cambioOrdine;    // OrdVenTest.Cambio
    QString operatore;       // Monete.Operatore of the order's currency
    Variant moneta;          // Monete.Moneta
    // Whether the document's rate differs from the order's; a missing rate counts as equal.
    bool diversi() const;
};

// The rates of the current order (order cursor) and of the current target header.
CambioRiga LeggiCambioRiga(scEvaOrdVen &eva);

// Whether the order's own amounts go to the document: the quantity equals the ordered one at
// eight decimals and the run is not converting open orders picked by hand.
bool PrendeImportiOrdine(double qta, double qtaOrdinata, bool daOrdAperto);

// The total of a quantity at a unit price less the cascade discount, the net price rounded
// first when the company asks for it (gbArrUnitIntermedio, at numDecGest decimals), the total
// rounded to the nearest at numDec decimals. A discount text that does not read counts as none.
double RicalcolaTotale(const Variant &prezzo, double qta, const QString &scontoTot, int16_t numDecGest,
                       int16_t numDec);

// The lire and euro values of a total in the order's currency, at the document's rate.
void ConvertiTotale(double totale, const CambioRiga &cambio, Variant &valLire, Variant &valEuro);

// The twins of a total taken whole from the order: the order's own (`lireOrdine`, `euroOrdine`,
// Null as 0) at the order's rate, converted again when the document's rate differs.
void GemelliDaOrdine(double totale, const CambioRiga &cambio, const Variant &lireOrdine, const Variant &euroOrdine,
                     Variant &valLire, Variant &valEuro);
