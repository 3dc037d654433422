#pragma once
// The record of one currency in table Monete.
#include "variant.h"

#include <QString>
#include <cstdint>

// Reads the currency's price decimals (NumDec), amount decimals (NumDecGest), exchange operator
// ("/" or "*") and EU flag ("S"/"N") into the outputs given. A code with no row gives 2, 2, "/"
// and "N". The result is the price decimals, or the amount decimals when only that output is
// given.
int32_t LeggiMoneta(const QString &codice, Variant *decImporti = nullptr, Variant *decPrezzi = nullptr,
                    QString *operatore = nullptr, QString *cee = nullptr);
