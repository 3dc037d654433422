#include "utilpiede.h"

#include "apperror.h"
#include "textcompare.h"
#include "utilgenerali.h"
#include "vettorechiavi.h"

namespace piede {

namespace {

Currency daUnita(Int128 unita)
{
    constexpr Int128 limite = static_cast<Int128>(INT64_MAX);
    if (unita > limite || unita < -limite)
        throw AppError::standard(ErrNum::Overflow);
    return Currency::fromUnits(static_cast<int64_t>(unita));
}

// An exact value m x 10^e in ten-thousandths, rounded to `decimali` decimals.
Currency arrotondaEsatto(Int128 m, int e, int16_t decimali)
{
    const int d = decimali < 0 ? 0 : (decimali > 4 ? 4 : decimali);
    const int scala = e + d; // m x 10^scala is the value in units of 10^-d
    Int128 n = 0;
    if (scala >= 0)
        n = m * pow10Int(scala);
    else
        n = divideRounded(m, pow10Int(-scala), RoundMode::HalfAway);
    return daUnita(n * pow10Int(4 - d));
}

} // namespace

bool uguale(const QString &a, QLatin1String b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool eIvaDaRipartire(const QString &chiave) { return textEquals(chiave, kIvaDaRipartire); }

bool tipoEsente(const QString &tipoIva)
{
    return tipoIva == QLatin1String("2") || tipoIva == QLatin1String("3") || tipoIva == QLatin1String("4") ||
           tipoIva == QLatin1String("5");
}

Currency arrotonda(Currency v, int16_t decimali)
{
    return decimali >= 4 ? v : v.rounded(decimali < 0 ? 0 : decimali, RoundMode::HalfAway);
}

Currency arrotonda(double v, int16_t decimali)
{
    return Currency::fromDouble(UtilGenerali::ArrotondaValore(Variant(v), QStringLiteral("A"), 1.0, -decimali));
}

Currency prodotto(const DecimalNumber &a, const DecimalNumber &b, int esponenteDivisore, int16_t decimali)
{
    return arrotondaEsatto(a.mantissa * b.mantissa, a.exponent + b.exponent - esponenteDivisore, decimali);
}

Currency dividi(Currency v, int64_t divisore, int16_t decimali)
{
    const int d = decimali < 0 ? 0 : (decimali > 4 ? 4 : decimali);
    const Int128 passo = static_cast<Int128>(divisore) * pow10Int(4 - d);
    return daUnita(divideRounded(v.units(), passo, RoundMode::HalfAway) * pow10Int(4 - d));
}

Currency importo(const Variant &v)
{
    if (v.isBlank())
        return {};
    return v.toCurrency();
}

bool fissoAddebitato(Currency merce, Currency minimo, Currency massimo)
{
    const bool conMin = minimo > Currency(), conMax = massimo > Currency();
    return (!conMin || merce >= minimo) && (!conMax || merce <= massimo);
}

void sommaSpesa(VettoreChiavi &vettore, const QString &chiave, Currency v)
{
    if (!vettore.Esiste(chiave))
        vettore.setImporto(chiave, true, Currency());
    vettore.setImporto(chiave, true, vettore.Importo(chiave, true) + v);
}

} // namespace piede
