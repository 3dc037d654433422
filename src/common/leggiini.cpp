#include "leggiini.h"

#include "contesto.h"
#include "utilgenerali.h"

QString LeggiIni(const QString &sezione, const QString &chiave, const QString &predefinito, QString &valore)
{
    Variant letto;
    const int32_t esito =
        UtilGenerali::LeggiChiaveIni(sezione, chiave, Variant(predefinito), letto, gsFileIni, gsIniScelta);
    valore = letto.text();
    return QString::number(Variant(esito).toInteger());
}
