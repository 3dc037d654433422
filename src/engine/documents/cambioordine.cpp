#include "cambioordine.h"

#include "apperror.h"
#include "contesto.h"
#include "scevaordven.h"
#include "textcompare.h"

bool CambioDellOrdine(scEvaOrdVen &eva)
{
    GestRecordset &rs = eva.mgRecs();
    const QString moneta = rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.Moneta").text();
    return textEquals(rs.LeggiCampo(eva.msAliasOrd, u"Monete.Cee").text(), u"S") || textEquals(moneta, gsCodLira) ||
           textEquals(moneta, gsCodEuro);
}

double CambioOrdine(scEvaOrdVen &eva)
{
    GestRecordset &rs = eva.mgRecs();
    if (CambioDellOrdine(eva))
        return rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.Cambio").toDouble();
    const QString moneta = rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.Moneta").text();
    const double cambio = eva.ogCambi().Valore(moneta, true);
    if (cambio == 0.0)
        throw AppError(ErrNum::InvalidCall, QStringLiteral("Manca il cambio della moneta ") + moneta);
    return cambio;
}
