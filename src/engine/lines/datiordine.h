#pragma once
// The check of an order's data before anything of it is converted: an order whose lines could
// only give a plainly wrong document, movement or commitment (a missing quantity, a VAT code or
// a currency the company does not have, levels on an article kept without levels, a quantity or
// an amount that the currency amounts of the documents and progressives cannot hold) is refused
// whole, with the reason, and the run goes on with the next order.
#include <QString>
#include <optional>

class scEvaOrdVen;

// Why the current order of the order cursor cannot be converted, naming the line, level or
// expense ("riga 2: codice IVA inesistente (ZZ)"); nullopt when it can. The rows looked at are
// those the conversion will take (pbRipri: those an interrupted run left marked). A
// balance-only closing bills nothing: only its quantities and amounts are looked at.
std::optional<QString> MotivoOrdineNonConvertibile(scEvaOrdVen &eva, bool pbSoloASaldo, bool pbRipri);

// Refuses the current order: the error line psErrore, its lock released as after a conversion;
// in a resumption (pbRipri) the markers the interrupted run left on its lines and levels not
// converted are taken back. Nothing else of it is touched.
void RifiutaOrdine(scEvaOrdVen &eva, const QString &psErrore, bool pbRipri);

// The run's check before an order is converted: true when it may be, else the order refused
// with the error line "Ordine n.rif N anno A non evaso, " and the reason.
bool OrdineConvertibile(scEvaOrdVen &eva, bool pbSoloASaldo);
