// UtilGenerali: value conversions, rounding, lists and texts.
#include "utilgenerali.h"

#include "decimal.h"
#include "numparse.h"
#include "textcompare.h"

#include <cmath>
#include <limits>

namespace {

template <typename Int>
Int intero(double v)
{
    if (!std::isfinite(v)) throw AppError::standard(ErrNum::Overflow);
    const double r = std::nearbyint(v); // halves to even, as the run-time converts
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) || r > static_cast<double>(std::numeric_limits<Int>::max()))
        throw AppError::standard(ErrNum::Overflow);
    return static_cast<Int>(r);
}

bool testoDataVuota(const QString &s)
{
    for (const QChar c : s)
        if (!c.isSpace() && c != QLatin1Char('/') && c != QLatin1Char('_') && c != QLatin1Char('-') && c != QLatin1Char('.'))
            return false;
    return true;
}

std::vector<Variant> elementi(const Variant &valori)
{
    if (valori.isArray()) return valori.toArray().items;
    return {valori};
}

Variant estremo(const std::vector<Variant> &valori, int segno)
{
    Variant r;
    for (const Variant &v : valori) {
        if (v.isEmpty() || v.isNull()) continue;
        if (r.isEmpty()) {
            r = v;
            continue;
        }
        const auto c = Variant::compare(v, r);
        if (c && *c * segno > 0) r = v;
    }
    return r;
}

} // namespace

namespace UtilGenerali {

bool Vuoto(const Variant &valore, int16_t tipo, int16_t, bool)
{
    if (valore.isBlank())
        return true;
    if (tipo != 7)
        return false;
    if (valore.isDate())
        return valore.toDate().isEmptyMarker() || valore.toDate().serial() == 0.0;
    if (const QString *s = valore.stringIf())
        return testoDataVuota(*s) || isEmptyDateMarkerText(*s);
    return false;
}

double ArrotondaValore(const Variant &valore, const QString &modo, double passo, int esponente)
{
    const QString m = modo.trimmed();
    // "5" is the suite's mode for a charge not rounded up (a stamp expense whose "subject to the
    // payment discount" flag is "N" passes it): to the nearest step, as "A".
    const auto r = m == QLatin1String("5") ? std::optional<RoundMode>(RoundMode::HalfAway)
                   : m.size() == 1        ? roundModeFromLetter(m[0].toLatin1())
                                          : std::nullopt;
    if (!r || *r == RoundMode::HalfEven)
        throw AppError(ErrNum::InvalidCall, QStringLiteral("Modo di arrotondamento non valido: %1").arg(modo));
    if (valore.isBlank())
        return 0.0;
    return roundToStep(valore.toDouble(), *r, passo, esponente);
}

double ValoreNumerico(const Variant &valore, bool)
{
    if (valore.isBlank())
        return 0.0;
    if (const QString *s = valore.stringIf()) {
        if (const auto n = parseNumber(*s)) return *n;
        return leadingNumber(*s);
    }
    return valore.toDouble();
}

int32_t ValoreLong(const Variant &valore, bool o) { return intero<int32_t>(ValoreNumerico(valore, o)); }

int16_t ValoreIntero(const Variant &valore, bool o) { return intero<int16_t>(ValoreNumerico(valore, o)); }

double ValoreSingolo(const Variant &valore, bool o)
{
    return static_cast<double>(static_cast<float>(ValoreNumerico(valore, o)));
}

Variant ValoreData(const Variant &valore, bool)
{
    if (Vuoto(valore, 7))
        return Variant::null();
    if (valore.isDate())
        return valore;
    if (const QString *s = valore.stringIf()) {
        if (const auto d = Date::parse(*s)) return Variant(*d);
        return Variant::null();
    }
    try {
        return Variant(valore.toDate());
    } catch (const AppError &) {
        return Variant::null();
    }
}

int16_t ConfrontaIntervallo(const Variant &da, const Variant &a, int16_t tipo)
{
    if (Vuoto(da, tipo) || Vuoto(a, tipo))
        return 0;
    switch (tipo) {
    case 7: {
        const Variant dataDa = ValoreData(da);
        const Variant dataA = ValoreData(a);
        if (dataDa.isNull() || dataA.isNull())
            return 0;
        return dataDa.toDate().dateOnly() > dataA.toDate().dateOnly() ? 1 : 0;
    }
    case 2: case 3: case 4: case 5: case 6:
        return ValoreNumerico(da) > ValoreNumerico(a) ? 1 : 0;
    default:
        return textCompare(da.text(), a.text()) > 0 ? 1 : 0;
    }
}

Variant ValoreNonNullo(const Variant &valore, bool, bool)
{
    if (valore.isBlank())
        return Variant(static_cast<int16_t>(0));
    if (const QString *s = valore.stringIf()) {
        if (s->trimmed().isEmpty()) return Variant(static_cast<int16_t>(0));
        if (const auto n = parseNumber(*s)) {
            if (*n == std::trunc(*n) && std::fabs(*n) <= std::numeric_limits<int32_t>::max())
                return Variant(static_cast<int32_t>(*n));
            return Variant(*n);
        }
    }
    return valore;
}

Variant ConvertiTipo(const Variant &valore, int16_t tipo)
{
    if (valore.isNull())
        return valore;
    switch (tipo) {
    case 2: return Variant(valore.toInteger());
    case 3: return Variant(valore.toLong());
    case 4: return Variant(static_cast<double>(static_cast<float>(valore.toDouble())));
    case 5: return Variant(valore.toDouble());
    case 6: return Variant(valore.toCurrency());
    case 7: return Variant(valore.toDate());
    case 8: return Variant(valore.toString());
    case 11: return Variant(valore.toBool());
    default: return valore;
    }
}

Variant Minimo(const Variant &valori) { return estremo(elementi(valori), -1); }
Variant Minimo(std::initializer_list<Variant> valori) { return estremo(std::vector<Variant>(valori), -1); }
Variant Massimo(const Variant &valori) { return estremo(elementi(valori), 1); }
Variant Massimo(std::initializer_list<Variant> valori) { return estremo(std::vector<Variant>(valori), 1); }

QString Sostituisci(const QString &testo, const QString &cerca, const Variant &sostituto)
{
    if (cerca.isEmpty()) return testo;
    QString r = testo;
    return r.replace(cerca, sostituto.text(), Qt::CaseSensitive);
}

QString Sostituisci(int16_t inizio, const QString &testo, const QString &cerca, const Variant &sostituto, int32_t confronto)
{
    if (cerca.isEmpty()) return testo;
    const qsizetype da = std::max<qsizetype>(inizio, 1) - 1;
    QString coda = testo.mid(da);
    coda.replace(cerca, sostituto.text(), confronto == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive);
    return testo.left(da) + coda;
}

Variant Dividi(const QString &testo, const QString &separatore)
{
    VariantArray a;
    a.lowerBound = 1;
    if (!testo.isEmpty()) {
        const QStringList parti = separatore.isEmpty() ? QStringList{testo} : testo.split(separatore);
        for (const QString &p : parti) a.items.emplace_back(p);
    }
    return Variant(std::move(a));
}

bool InLista(const QString &nome, const QString &lista, const QString &separatore, int16_t modo)
{
    const QString n = nome.trimmed();
    const Qt::CaseSensitivity cs = modo == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (const QString &voce : lista.split(separatore.isEmpty() ? QStringLiteral(";") : separatore))
        if (voce.trimmed().compare(n, cs) == 0 && !n.isEmpty()) return true;
    return false;
}

Date FineMese(const Variant &data)
{
    const QDate d = data.toDate().toQDate();
    return Date::fromYmd(d.year(), d.month(), d.daysInMonth());
}

int32_t CercaIndietro(int32_t inizio, const QString &testo, const QString &cercato, int32_t confronto)
{
    if (cercato.isEmpty() || testo.isEmpty()) return 0;
    const qsizetype da = std::min<qsizetype>(inizio, testo.size()) - 1;
    if (da < 0) return 0;
    const qsizetype p = testo.lastIndexOf(cercato, da, confronto == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive);
    return p < 0 ? 0 : static_cast<int32_t>(p + 1);
}

} // namespace UtilGenerali
