#include "calcoli.h"

#include "apperror.h"
#include "confrontaarrotondati.h"
#include "contesto.h"
#include "decimal.h"
#include "numparse.h"
#include "utilgenerali.h"

#include <cmath>

namespace {

const QString kModoVicino = QStringLiteral("A");
const QString kModoSu = QStringLiteral("S");
const QString kModoGiu = QStringLiteral("I");
const QString kModoTronca = QStringLiteral("T");

double arrotonda(double valore, const QString &modo, int decimali)
{
    return UtilGenerali::ArrotondaValore(Variant(valore), modo, 1.0, -decimali);
}

// The number an argument holds; Null and Empty count as 0, numeric text is read with either
// decimal sign (a text that is no number raises 13, as in the run-time's arithmetic).
double numero(const Variant &v)
{
    return v.isBlank() ? 0.0 : v.toDouble();
}

// Fixed point in the run-time's arithmetic: the currency type and the whole-number types.
bool puntoFisso(const Variant &v)
{
    switch (v.type()) {
    case Variant::Type::Currency:
    case Variant::Type::Integer:
    case Variant::Type::Long:
    case Variant::Type::Boolean:
    case Variant::Type::Empty:
        return true;
    default:
        return false;
    }
}

// a x b as the run-time multiplies two variants: with an amount and another fixed-point value
// the product is an amount, held to four decimals; otherwise a double.
double prodotto(const Variant &a, const Variant &b)
{
    const bool importo = a.type() == Variant::Type::Currency || b.type() == Variant::Type::Currency;
    if (importo && puntoFisso(a) && puntoFisso(b))
        return (a.toCurrency() * b.toCurrency()).toDouble();
    return numero(a) * numero(b);
}

bool arrotondaIvaPerEccesso(int16_t decimali)
{
    return gsArrotIvaEuro.compare(kModoSu, Qt::CaseInsensitive) == 0 || decimali < 2;
}

// One term of a cascade discount ("+10,5", "-5", "" ...), blanks ignored. A sign alone or an
// empty term is 0; a term that is no number raises 13.
double leggiTermine(QString termine)
{
    termine.remove(QLatin1Char(' '));
    if (termine.isEmpty() || termine == QLatin1String("+") || termine == QLatin1String("-"))
        return 0.0;
    // The comma is the decimal sign: "10,5,3" is no number (never thousands grouping).
    const auto n = termine.count(QLatin1Char(',')) <= 1 ? parseNumber(termine) : std::nullopt;
    if (!n)
        throw AppError::standard(ErrNum::TypeMismatch);
    return *n;
}

// A cascade held in exact decimals: what is left of 100 after each term. Empty once a product
// no longer fits, when the caller goes on in double precision.
class RestoEsatto {
public:
    explicit RestoEsatto(double iniziale)
    {
        const DecimalNumber i = DecimalNumber::fromDouble(iniziale);
        m_valore = sottrai(DecimalNumber{100, 0}, i);
    }

    // The term's text as written ("+10,5", "-5", " 3 "); a sign alone or nothing is 0.
    void applica(QString termine)
    {
        if (!m_valore)
            return;
        termine.remove(QLatin1Char(' '));
        termine.replace(QLatin1Char(','), QLatin1Char('.'));
        if (termine.isEmpty() || termine == QLatin1String("+") || termine == QLatin1String("-"))
            termine = QStringLiteral("0");
        const auto t = DecimalNumber::fromString(termine.toStdString());
        const auto fattore = t ? sottrai(DecimalNumber{100, 0}, *t) : std::nullopt;
        Int128 m = 0;
        if (!fattore || __builtin_mul_overflow(m_valore->mantissa, fattore->mantissa, &m)) {
            m_valore.reset();
            return;
        }
        m_valore = DecimalNumber{m, m_valore->exponent + fattore->exponent - 2};
        m_valore->normalize();
    }

    // The combined percentage, 100 less what is left, rounded to `decimali` decimals (nearest).
    std::optional<double> percentuale(int16_t decimali) const
    {
        if (!m_valore)
            return std::nullopt;
        const auto p = sottrai(DecimalNumber{100, 0}, *m_valore);
        if (!p)
            return std::nullopt;
        if (p->exponent >= -decimali)
            return p->toDouble();
        const int togli = -decimali - p->exponent;
        if (togli > 36)
            return 0.0;
        DecimalNumber r{divideRounded(p->mantissa, pow10Int(togli), RoundMode::HalfAway), -decimali};
        r.normalize();
        return r.toDouble();
    }

private:
    static std::optional<DecimalNumber> sottrai(DecimalNumber a, DecimalNumber b)
    {
        // to the smaller exponent, then the difference of the mantissas
        DecimalNumber &alto = a.exponent > b.exponent ? a : b;
        const int salto = alto.exponent - std::min(a.exponent, b.exponent);
        if (salto > 36 || __builtin_mul_overflow(alto.mantissa, pow10Int(salto), &alto.mantissa))
            return std::nullopt;
        alto.exponent -= salto;
        DecimalNumber d{0, a.exponent};
        if (__builtin_sub_overflow(a.mantissa, b.mantissa, &d.mantissa))
            return std::nullopt;
        d.normalize();
        return d;
    }

    std::optional<DecimalNumber> m_valore;
};

} // namespace

bool EspressioneNumValida(const QString &testo)
{
    const QString t = UtilGenerali::Sostituisci(testo, QStringLiteral(" "), Variant(QString()));
    for (const char *doppio : {"+-", "-+", "--", "++"}) {
        if (t.contains(QLatin1String(doppio)))
            return false;
    }
    static const QString ammessi = QStringLiteral("1234567890+- ,");
    for (const QChar c : t) {
        if (!ammessi.contains(c))
            return false;
    }
    return true;
}

Variant CalcScontoComposto(const QString &testo, bool *errore, double iniziale, int16_t decimali)
{
    if (errore)
        *errore = false;
    if (testo.trimmed().isEmpty())
        return Variant(iniziale);
    const auto rifiuta = [&] {
        if (errore)
            *errore = true;
        return Variant(iniziale);
    };
    if (!EspressioneNumValida(testo))
        return rifiuta();
    try {
        // Each term takes its own percentage off what the earlier ones left. The rounded result
        // comes from exact decimals, so that an exact half is never lost to the cancellation
        // of 100 - x in binary (0,5+0,5+0,5 is 1.4925125); the unrounded one is the double.
        double accumulato = iniziale;
        RestoEsatto esatto(iniziale);
        QString termine;
        for (qsizetype i = 0; i < testo.size(); ++i) {
            const QChar c = testo[i];
            const bool ultimo = i == testo.size() - 1;
            if (c == QLatin1Char('+') || c == QLatin1Char('-') || ultimo) {
                if (ultimo && c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                    termine += c;
                accumulato = 100.0 - (100.0 - accumulato) * (100.0 - leggiTermine(termine)) / 100.0;
                esatto.applica(termine);
                termine.clear();
            }
            termine += c;
        }
        if (!std::isfinite(accumulato))
            throw AppError::standard(ErrNum::Overflow);
        if (decimali != kNessunArrotondamento)
            accumulato = esatto.percentuale(decimali).value_or(arrotonda(accumulato, kModoVicino, decimali));
        return Variant(accumulato);
    } catch (const AppError &) {
        return rifiuta();
    }
}

Variant CalcImportoPerc(const Variant &valore, const Variant &percentuale, int16_t decimali)
{
    QString modo = kModoVicino;
    if (arrotondaIvaPerEccesso(decimali))
        modo = numero(valore) >= 0.0 ? kModoSu : kModoGiu;
    return Variant(arrotonda(prodotto(valore, percentuale) / 100.0, modo, decimali));
}

Variant CalcConIva(const Variant &importo, const Variant &aliquota, int16_t decimali, const QString &modo)
{
    if (numero(aliquota) == 0.0)
        return importo;
    const double r = UtilGenerali::ArrotondaValore(importo, modo, 1.0, -decimali);
    return Variant(r + CalcImportoPerc(Variant(r), aliquota, decimali).toDouble());
}

Variant ScorporaIva(const Variant &lordo, const Variant &aliquota, int16_t decimali)
{
    const QString modo = arrotondaIvaPerEccesso(decimali) ? kModoTronca : kModoVicino;
    const double a = numero(aliquota);
    if (a == 0.0)
        return lordo;
    if (100.0 + a == 0.0)
        throw AppError::standard(ErrNum::DivByZero);
    const double g = numero(lordo);
    const double quoziente = g * 100.0 / (100.0 + a);
    double imponibile = arrotonda(quoziente, modo, decimali);
    if (modo == kModoVicino) {
        // The taxable part and its VAT must not come to more than the amount: on either side
        // of zero, so that a credit mirrors the amount it reverses.
        const double iva = CalcImportoPerc(Variant(imponibile), aliquota, decimali).toDouble();
        const int16_t confronto = ConfrontaArrotondati(Variant(imponibile + iva), Variant(g), -8);
        if (confronto == (g < 0.0 ? -1 : 1))
            imponibile = arrotonda(quoziente, kModoTronca, decimali);
    }
    return Variant(imponibile);
}

Variant ApplicaSconto(const Variant &valore, const Variant &percentuale, int16_t decimali, bool conArrotondamento)
{
    const double scontato = numero(valore) - prodotto(valore, percentuale) / 100.0;
    return Variant(arrotonda(scontato, kModoVicino, conArrotondamento ? decimali : 8));
}

Variant CalcPrezzoNetto(const Variant &prezzo, const Variant &percentuale, bool conArrotondamento, int16_t decimali)
{
    return ApplicaSconto(prezzo, percentuale, decimali, conArrotondamento);
}

Variant CalcImportoRiga(const Variant &prezzo, const Variant &quantita, const Variant &percentuale,
                        bool arrotondaNetto, int16_t decimali)
{
    return Variant(CalcPrezzoNetto(prezzo, percentuale, arrotondaNetto, decimali).toDouble() * numero(quantita));
}

Variant ChiaveControP(const QString &centro, const QString &competenza)
{
    return Variant(QStringLiteral("C") + centro + QStringLiteral("D") + competenza);
}

Variant CalcRitenuta(Currency &importo, double aliquota, int16_t decimali)
{
    if (ConfrontaArrotondati(Variant(aliquota), Variant(100.0), -8) < 0)
        return Variant(importo.toDouble() * aliquota / 100.0);
    double percentuale = 0.0;
    double quota = 0.0;
    ScomponiRitenuta(aliquota, percentuale, quota);
    importo = Currency::fromDouble(arrotonda(importo.toDouble() * quota / 100.0, kModoVicino, decimali));
    return Variant(importo.toDouble() * percentuale / 100.0);
}

void ScomponiRitenuta(double aliquota, double &percentuale, double &quota)
{
    // Read as the decimal number it shows (2050.1234, not 2050.12339999...), then split exactly.
    DecimalNumber d = DecimalNumber::fromDouble(aliquota);
    Int128 intero = d.mantissa;
    Int128 frazione = 0;
    Int128 scala = 1;
    if (d.exponent < -19) {
        // Fifteen digits this far below the point: a value within 10^-4 of zero.
        intero = d.mantissa < 0 ? -1 : 0;
    } else if (d.exponent < 0) {
        for (int i = 0; i < -d.exponent; ++i)
            scala *= 10;
        intero = divideRounded(d.mantissa, scala, RoundMode::Down);
        frazione = d.mantissa - intero * scala;
    } else {
        intero = static_cast<Int128>(std::floor(aliquota));
    }
    percentuale = arrotonda(static_cast<double>(intero) / 100.0, kModoVicino, 2);
    // The share is the four digits after the decimal sign of the fraction written "0.0000": a
    // fraction that rounds up to 1 is written "1.0000" and leaves the digits 0000.
    const Int128 cifre = divideRounded(frazione * 10000, scala, RoundMode::HalfAway) % 10000;
    quota = arrotonda(static_cast<double>(cifre) / 100.0, kModoVicino, 2);
    if (quota == 0.0)
        quota = 100.0;
}

Variant VarDaIntero(const Variant &, int16_t decimali)
{
    return Variant(decimali);
}
