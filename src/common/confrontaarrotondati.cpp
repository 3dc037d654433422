#include "confrontaarrotondati.h"

#include "utilgenerali.h"

int16_t ConfrontaArrotondati(const Variant &primo, const Variant &secondo, int esponente)
{
    if (primo.isNull())
        return 1;
    if (secondo.isNull())
        return primo.text().isEmpty() ? 0 : 1;
    const double a = UtilGenerali::ArrotondaValore(primo, QStringLiteral("A"), 1.0, esponente);
    const double b = UtilGenerali::ArrotondaValore(secondo, QStringLiteral("A"), 1.0, esponente);
    if (a < b)
        return -1;
    return a == b ? 0 : 1;
}
