#include "bloccoordine.h"

#include "blocchi.h"

int16_t BloccaOrdine(int16_t piAnno, int32_t plNumRif, bool pbSoloVerifica, QString &psChiave, const QString &psDescr,
                     QString &psUtenteLock)
{
    QString gestione = QStringLiteral("3"), varie, statoLock;
    return BloccaRecord(QStringLiteral("0"), QStringLiteral("O"), piAnno, plNumRif, true, false, psChiave, psDescr,
                        psUtenteLock, gestione, varie, pbSoloVerifica, QString(), 0, 0, 0, statoLock)
        .toInteger();
}
