#pragma once
// The share of a movement's expense amount (MovMagTes.ImportoSpese) that falls on one unit of
// one of its rows, by the apportioning rule of the movement's stock causal. A computation only.
#include <QString>

// psRipartSpese: the causal's rule, "V" by value, "Q" by quantity, anything else none.
// pdImportoSpese: the movement's expense amount; a negative one is of the other kind than the
//   user's setting psRipartPercVal ("V" values, "P" percentages).
// pdTotRighe: the movement's rows in all (quantity for "Q", value for "V").
// pdQta, pdValTotale, pdValUnit: the row's quantity, value and unit value.
// Result: euro per unit, rounded to the euro amount decimals; 0 without a rule, an amount, a
// total or a quantity (zero at eight decimals).
double CalcolaQuotaSpese(const QString &psRipartSpese, double pdImportoSpese, double pdTotRighe,
                         const QString &psRipartPercVal, double pdQta, double pdValTotale, double pdValUnit);
