#include "quotaspese.h"

#include "confrontaarrotondati.h"
#include "contesto.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

bool zero(double valore)
{
    return ConfrontaArrotondati(Variant(valore), Variant(0.0), -8) == 0;
}

double arrotonda(double valore)
{
    return UtilGenerali::ArrotondaValore(Variant(valore), QStringLiteral("A"), 1.0, -giNumDecImpEuro);
}

} // namespace

double CalcolaQuotaSpese(const QString &psRipartSpese, double pdImportoSpese, double pdTotRighe,
                         const QString &psRipartPercVal, double pdQta, double pdValTotale, double pdValUnit)
{
    double importo = pdImportoSpese;
    bool percentuale = textEquals(psRipartPercVal, u"P");
    if (pdImportoSpese < 0) {
        importo = -pdImportoSpese;
        percentuale = textEquals(psRipartPercVal, u"V");
    }
    const bool perQta = textEquals(psRipartSpese, u"Q");
    if ((!perQta && !textEquals(psRipartSpese, u"V")) || zero(importo) || zero(pdTotRighe) || pdQta == 0)
        return 0.0;
    if (percentuale)
        return arrotonda(importo * pdValUnit / 100);
    const double base = perQta ? pdQta : pdValTotale;
    return arrotonda(((base / pdTotRighe) * importo) / pdQta);
}
