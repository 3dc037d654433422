#pragma once
// The total quantity or value of the detail rows of one stock movement: the base on which the
// posting shares the movement's expense amount among its rows.
#include "variant.h"

#include <QString>
#include <cstdint>

// psModo "Q": the sum of Qta; "V": the sum of ValTotale (letter case ignored); any other mode
// gives the 16-bit 0 without reading the database. psSuffisso follows the table name MovMagDett
// ("App" for the work rows). A movement without rows totals 0. A failure is shown in the error
// dialog and gives 0.
Variant TotaliRigheMov(const QString &psModo, int16_t piAnno, int32_t plNumReg, const QString &psSuffisso);
