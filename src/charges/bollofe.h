#pragma once
// The stamp-duty fields of an invoice's electronic-invoice row (FatTestFe, key Anno + NumRif).
#include "erroreaddebito.h"

#include <QString>
#include <cstdint>

// Creates or updates the FatTestFe row of invoice piAnno/plNumRif: when psFlag is "S" and the
// amount is not zero at eight decimals, FENumeroBollo "SI" and FEImportoBollo the amount's
// absolute value; otherwise "" and Null. No other column is touched.
// A failure leaves the row as it was and comes back to the caller (no message is shown).
ErroreAddebito AggiornaBolloFe(int16_t piAnno, int32_t plNumRif, const QString &psFlag, double pdImporto);
