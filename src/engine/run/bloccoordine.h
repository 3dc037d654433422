#pragma once
// The lock of a sales order as the run takes it and finds it again: a LockGest row of type "O"
// at stage "0", utility "3".
#include <QString>
#include <cstdint>

// Takes the order's lock, or with pbSoloVerifica only finds its row; the result is BloccaRecord's
// (EsitoBlocco), psUtenteLock the holder of a row found.
int16_t BloccaOrdine(int16_t piAnno, int32_t plNumRif, bool pbSoloVerifica, QString &psChiave, const QString &psDescr,
                     QString &psUtenteLock);
