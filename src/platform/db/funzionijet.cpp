#include "funzionijet.h"

#include "apperror.h"
#include "decimal.h"
#include "errori.h"
#include "formatojet.h"
#include "operatorijet.h"
#include "textcompare.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr FirmaJet kFunzioni[] = {
    {FnJet::Count, "Count", 1, 1}, {FnJet::Sum, "Sum", 1, 1}, {FnJet::Avg, "Avg", 1, 1}, {FnJet::Min, "Min", 1, 1},
    {FnJet::Max, "Max", 1, 1}, {FnJet::IIf, "IIf", 3, 3}, {FnJet::Nz, "Nz", 1, 2}, {FnJet::IsNull, "IsNull", 1, 1},
    {FnJet::Len, "Len", 1, 1}, {FnJet::Left, "Left", 2, 2}, {FnJet::Right, "Right", 2, 2}, {FnJet::Mid, "Mid", 2, 3},
    {FnJet::UCase, "UCase", 1, 1}, {FnJet::LCase, "LCase", 1, 1}, {FnJet::Trim, "Trim", 1, 1},
    {FnJet::LTrim, "LTrim", 1, 1}, {FnJet::RTrim, "RTrim", 1, 1}, {FnJet::Space, "Space", 1, 1},
    {FnJet::InStr, "InStr", 2, 4}, {FnJet::Val, "Val", 1, 1}, {FnJet::CStr, "CStr", 1, 1}, {FnJet::CLng, "CLng", 1, 1},
    {FnJet::CInt, "CInt", 1, 1}, {FnJet::CDbl, "CDbl", 1, 1}, {FnJet::CCur, "CCur", 1, 1}, {FnJet::Int, "Int", 1, 1},
    {FnJet::Fix, "Fix", 1, 1}, {FnJet::Abs, "Abs", 1, 1}, {FnJet::Sgn, "Sgn", 1, 1}, {FnJet::Round, "Round", 1, 2},
    {FnJet::Year, "Year", 1, 1}, {FnJet::Month, "Month", 1, 1}, {FnJet::Day, "Day", 1, 1}, {FnJet::Hour, "Hour", 1, 1},
    {FnJet::Minute, "Minute", 1, 1}, {FnJet::Second, "Second", 1, 1}, {FnJet::Weekday, "Weekday", 1, 1},
    {FnJet::DateSerial, "DateSerial", 3, 3}, {FnJet::DateAdd, "DateAdd", 3, 3}, {FnJet::DateDiff, "DateDiff", 3, 3},
    {FnJet::Date, "Date", 0, 0}, {FnJet::Now, "Now", 0, 0}, {FnJet::Format, "Format", 1, 2},
};

[[noreturn]] void errore(int32_t n) { throw AppError::standard(n); }

const Variant &richiesto(const Variant &v)
{
    if (v.isNull()) errore(ErrNum::InvalidNull);
    return v;
}

int32_t nonNegativo(const Variant &v)
{
    const int32_t n = richiesto(v).toLong();
    if (n < 0) errore(ErrNum::InvalidCall);
    return n;
}

Variant intero(int64_t v)
{
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) errore(ErrNum::Overflow);
    return Variant(static_cast<int32_t>(v));
}

QString spazi(const QString &s, bool inizio, bool fine)
{
    qsizetype a = 0, b = s.size();
    if (inizio) while (a < b && s[a] == QLatin1Char(' ')) ++a;
    if (fine) while (b > a && s[b - 1] == QLatin1Char(' ')) --b;
    return s.mid(a, b - a);
}

// Int and Fix: the whole part, toward -infinity or toward zero, in the value's own type.
Variant parteIntera(const Variant &v, bool versoZero)
{
    const auto taglia = [&](double d) { return versoZero ? std::trunc(d) : std::floor(d); };
    switch (v.type()) {
    case Variant::Type::Boolean: case Variant::Type::Integer: case Variant::Type::Long: return v;
    case Variant::Type::Currency: {
        const RoundMode m = versoZero ? RoundMode::TowardZero : RoundMode::Down;
        return Variant(v.toCurrency().rounded(0, m));
    }
    case Variant::Type::Date: return Variant(Date::fromSerial(taglia(v.toDate().serial())));
    default: return Variant(taglia(v.toDouble()));
    }
}

Variant assoluto(const Variant &v)
{
    switch (v.type()) {
    case Variant::Type::Boolean: case Variant::Type::Integer: case Variant::Type::Long:
        return intero(std::abs(static_cast<int64_t>(v.toLong())));
    case Variant::Type::Currency: {
        const Currency c = v.toCurrency();
        return Variant(c.units() < 0 ? -c : c);
    }
    default: return Variant(std::fabs(v.toDouble()));
    }
}

Variant arrotonda(const Variant &v, int32_t decimali)
{
    switch (v.type()) {
    case Variant::Type::Boolean: case Variant::Type::Integer: case Variant::Type::Long: return v;
    case Variant::Type::Currency: return Variant(v.toCurrency().rounded(std::min(decimali, 4), RoundMode::HalfEven));
    default: return Variant(roundDecimals(v.toDouble(), decimali, RoundMode::HalfEven));
    }
}

Variant parteData(FnJet f, const Variant &v)
{
    const QDateTime dt = v.toDate().toQDateTime();
    int n = 0;
    switch (f) {
    case FnJet::Year: n = dt.date().year(); break;
    case FnJet::Month: n = dt.date().month(); break;
    case FnJet::Day: n = dt.date().day(); break;
    case FnJet::Hour: n = dt.time().hour(); break;
    case FnJet::Minute: n = dt.time().minute(); break;
    case FnJet::Second: n = dt.time().second(); break;
    default: n = dt.date().dayOfWeek() % 7 + 1; break; // Sunday is 1
    }
    return Variant(static_cast<int16_t>(n));
}

Variant dataSeriale(const Variant &a, const Variant &m, const Variant &g)
{
    int anno = a.toInteger();
    if (anno >= 0 && anno <= 29) anno += 2000;
    else if (anno >= 30 && anno <= 99) anno += 1900;
    if (anno < Date::MinYear || anno > Date::MaxYear) errore(ErrNum::InvalidCall);
    const QDate d = QDate(anno, 1, 1).addMonths(m.toInteger() - 1).addDays(g.toInteger() - 1);
    if (!d.isValid() || d.year() < Date::MinYear || d.year() > Date::MaxYear) errore(ErrNum::InvalidCall);
    return Variant(Date::fromQDate(d));
}

Variant aggiungiData(IntervalloJet i, int32_t n, const Variant &v)
{
    const QDateTime dt = v.toDate().toQDateTime();
    QDateTime r;
    switch (i) {
    case IntervalloJet::Anno: r = dt.addYears(n); break;
    case IntervalloJet::Trimestre: r = dt.addMonths(3 * n); break;
    case IntervalloJet::Mese: r = dt.addMonths(n); break;
    case IntervalloJet::Settimana: r = dt.addDays(7LL * n); break;
    case IntervalloJet::Ora: r = dt.addSecs(3600LL * n); break;
    case IntervalloJet::Minuto: r = dt.addSecs(60LL * n); break;
    case IntervalloJet::Secondo: r = dt.addSecs(n); break;
    default: r = dt.addDays(n); break;
    }
    if (!r.isValid() || r.date().year() < Date::MinYear || r.date().year() > Date::MaxYear) errore(ErrNum::InvalidCall);
    return Variant(Date::fromQDateTime(r));
}

int64_t pavimento(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

Variant differenzaDate(IntervalloJet i, const Variant &a, const Variant &b)
{
    const QDateTime x = a.toDate().toQDateTime(), y = b.toDate().toQDateTime();
    const QDate dx = x.date(), dy = y.date();
    const auto secondi = [](const QDateTime &t) { return t.date().toJulianDay() * 86400 + t.time().msecsSinceStartOfDay() / 1000; };
    switch (i) {
    case IntervalloJet::Anno: return intero(dy.year() - dx.year());
    case IntervalloJet::Trimestre:
        return intero((dy.year() - dx.year()) * 4 + (dy.month() - 1) / 3 - (dx.month() - 1) / 3);
    case IntervalloJet::Mese: return intero((dy.year() - dx.year()) * 12 + dy.month() - dx.month());
    case IntervalloJet::GiornoSettimana: return intero((dy.toJulianDay() - dx.toJulianDay()) / 7);
    case IntervalloJet::Settimana: {
        // Sundays passed: the Sunday that starts each date's week.
        const auto domenica = [](const QDate &d) { return d.toJulianDay() - d.dayOfWeek() % 7; };
        return intero((domenica(dy) - domenica(dx)) / 7);
    }
    case IntervalloJet::Ora: return intero(pavimento(secondi(y), 3600) - pavimento(secondi(x), 3600));
    case IntervalloJet::Minuto: return intero(pavimento(secondi(y), 60) - pavimento(secondi(x), 60));
    case IntervalloJet::Secondo: return intero(secondi(y) - secondi(x));
    default: return intero(dy.toJulianDay() - dx.toJulianDay());
    }
}

Variant cerca(const std::vector<Variant> &a)
{
    for (const Variant &v : a)
        if (v.isNull()) return Variant::null();
    size_t k = 0;
    int32_t inizio = 1;
    if (a.size() >= 3) {
        inizio = a[0].toLong();
        k = 1;
    }
    if (inizio < 1) errore(ErrNum::InvalidCall);
    const Variant &s1 = a[k], &s2 = a[k + 1];
    if (s1.isNull() || s2.isNull()) return Variant::null();
    const bool esatto = a.size() == 4 && a[3].toLong() == 0;
    const QString t1 = testoJet(s1), t2 = testoJet(s2);
    if (t2.isEmpty()) return Variant(inizio);
    if (inizio > t1.size()) return Variant(static_cast<int32_t>(0));
    const qsizetype p = esatto ? t1.indexOf(t2, inizio - 1) : textFolded(t1).indexOf(textFolded(t2), inizio - 1);
    return Variant(static_cast<int32_t>(p + 1));
}

Variant formato(const std::vector<Variant> &a)
{
    if (a[0].isNull()) return Variant::null();
    const QString modello = a.size() > 1 ? testoJet(a[1]) : QString();
    const std::optional<FormatoJet> f = leggiFormatoJet(modello);
    if (!f) throw erroreSintassi(QStringLiteral("formato non gestito in Format: %1").arg(modello));
    return Variant(applicaFormatoJet(*f, a[0]));
}

} // namespace

const FirmaJet *funzioneJet(QStringView nome)
{
    for (const FirmaJet &f : kFunzioni)
        if (nome.compare(QLatin1String(f.nome), Qt::CaseInsensitive) == 0) return &f;
    return nullptr;
}

bool aggregata(FnJet f) { return f <= FnJet::Max; }

std::optional<IntervalloJet> intervalloJet(QStringView t)
{
    struct Voce { const char *testo; IntervalloJet i; };
    static const Voce voci[] = {{"yyyy", IntervalloJet::Anno}, {"q", IntervalloJet::Trimestre}, {"m", IntervalloJet::Mese},
                                {"y", IntervalloJet::GiornoAnno}, {"d", IntervalloJet::Giorno},
                                {"w", IntervalloJet::GiornoSettimana}, {"ww", IntervalloJet::Settimana},
                                {"h", IntervalloJet::Ora}, {"n", IntervalloJet::Minuto}, {"s", IntervalloJet::Secondo}};
    for (const Voce &v : voci)
        if (t.compare(QLatin1String(v.testo), Qt::CaseInsensitive) == 0) return v.i;
    return std::nullopt;
}

TipoJet tipoFunzioneJet(FnJet f, const std::vector<TipoJet> &a)
{
    const TipoJet primo = a.empty() ? TipoJet::Ignoto : a[0];
    switch (f) {
    case FnJet::Count: return TipoJet::Lungo;
    case FnJet::Sum:
        // Whole numbers sum beyond 32 bits: the engine's own type tells.
        return primo == TipoJet::Valuta || primo == TipoJet::Doppio ? primo : TipoJet::Ignoto;
    case FnJet::Avg: return primo == TipoJet::Valuta ? TipoJet::Valuta : primo == TipoJet::Ignoto ? primo : TipoJet::Doppio;
    case FnJet::Min: case FnJet::Max: return primo;
    case FnJet::IIf: return tipoComune(a[1], a[2]);
    case FnJet::Nz: return a.size() == 2 ? tipoComune(a[0], a[1]) : primo == TipoJet::Null ? TipoJet::Lungo : primo;
    case FnJet::IsNull: return TipoJet::Logico;
    case FnJet::Len: case FnJet::InStr: case FnJet::CLng: case FnJet::DateDiff: return TipoJet::Lungo;
    case FnJet::Left: case FnJet::Right: case FnJet::Mid: case FnJet::UCase: case FnJet::LCase: case FnJet::Trim:
    case FnJet::LTrim: case FnJet::RTrim: case FnJet::Space: case FnJet::CStr: case FnJet::Format:
        return TipoJet::Testo;
    case FnJet::Val: case FnJet::CDbl: return TipoJet::Doppio;
    case FnJet::CInt: case FnJet::Sgn: case FnJet::Year: case FnJet::Month: case FnJet::Day: case FnJet::Hour:
    case FnJet::Minute: case FnJet::Second: case FnJet::Weekday:
        return TipoJet::Intero;
    case FnJet::CCur: return TipoJet::Valuta;
    case FnJet::Int: case FnJet::Fix:
        if (primo == TipoJet::Logico) return TipoJet::Intero;
        return primo == TipoJet::Testo ? TipoJet::Doppio : primo;
    case FnJet::Abs:
        if (primo == TipoJet::Logico || primo == TipoJet::Intero) return TipoJet::Lungo;
        return primo == TipoJet::Testo || primo == TipoJet::Data ? TipoJet::Doppio : primo;
    case FnJet::Round:
        if (primo == TipoJet::Logico) return TipoJet::Intero;
        return primo == TipoJet::Testo || primo == TipoJet::Data ? TipoJet::Doppio : primo;
    case FnJet::DateSerial: case FnJet::DateAdd: case FnJet::Date: case FnJet::Now: return TipoJet::Data;
    }
    return TipoJet::Ignoto;
}

Variant chiamaFunzioneJet(FnJet f, const std::vector<Variant> &a)
{
    switch (f) {
    case FnJet::IIf: return richiesto(a[0]).toBool() ? a[1] : a[2];
    case FnJet::Nz:
        if (!a[0].isNull()) return a[0];
        return a.size() == 2 ? a[1] : Variant(); // Empty: 0 to a number, "" to a text
    case FnJet::IsNull: return Variant(a[0].isNull());
    case FnJet::Val: return Variant(valJet(testoJet(richiesto(a[0]))));
    case FnJet::CStr: return Variant(testoJet(richiesto(a[0])));
    case FnJet::CLng: return Variant(richiesto(a[0]).toLong());
    case FnJet::CInt: return Variant(richiesto(a[0]).toInteger());
    case FnJet::CDbl: return Variant(richiesto(a[0]).toDouble());
    case FnJet::CCur: return Variant(richiesto(a[0]).toCurrency());
    case FnJet::Date: return Variant(Date::today());
    case FnJet::Now: return Variant(Date::now());
    case FnJet::InStr: return cerca(a);
    case FnJet::Format: return formato(a);
    case FnJet::DateAdd: case FnJet::DateDiff: {
        const auto i = intervalloJet(testoJet(richiesto(a[0])));
        if (!i) errore(ErrNum::InvalidCall);
        if (a[1].isNull() || a[2].isNull()) return Variant::null();
        return f == FnJet::DateAdd ? aggiungiData(*i, a[1].toLong(), a[2]) : differenzaDate(*i, a[1], a[2]);
    }
    default: break;
    }
    for (const Variant &v : a)
        if (v.isNull()) return Variant::null();
    switch (f) {
    case FnJet::Len: return Variant(static_cast<int32_t>(testoJet(a[0]).size()));
    case FnJet::Left: return Variant(testoJet(a[0]).left(nonNegativo(a[1])));
    case FnJet::Right: return Variant(testoJet(a[0]).right(nonNegativo(a[1])));
    case FnJet::Mid: {
        const int32_t inizio = a[1].toLong();
        if (inizio < 1) errore(ErrNum::InvalidCall);
        const QString t = testoJet(a[0]);
        return Variant(a.size() == 3 ? t.mid(inizio - 1, nonNegativo(a[2])) : t.mid(inizio - 1));
    }
    case FnJet::UCase: return Variant(testoJet(a[0]).toUpper());
    case FnJet::LCase: return Variant(testoJet(a[0]).toLower());
    case FnJet::Trim: return Variant(spazi(testoJet(a[0]), true, true));
    case FnJet::LTrim: return Variant(spazi(testoJet(a[0]), true, false));
    case FnJet::RTrim: return Variant(spazi(testoJet(a[0]), false, true));
    case FnJet::Space: {
        const int32_t n = nonNegativo(a[0]);
        if (n > (1 << 24)) errore(7); // out of memory, rather than taking it all
        return Variant(QString(n, QLatin1Char(' ')));
    }
    case FnJet::Int: return parteIntera(a[0], false);
    case FnJet::Fix: return parteIntera(a[0], true);
    case FnJet::Abs: return assoluto(a[0]);
    case FnJet::Sgn: {
        const Variant &v = a[0];
        const int s = v.type() == Variant::Type::Currency ? (v.toCurrency().units() > 0) - (v.toCurrency().units() < 0)
                                                          : (v.toDouble() > 0) - (v.toDouble() < 0);
        return Variant(static_cast<int16_t>(s));
    }
    case FnJet::Round: return arrotonda(a[0], a.size() == 2 ? nonNegativo(a[1]) : 0);
    case FnJet::Year: case FnJet::Month: case FnJet::Day: case FnJet::Hour: case FnJet::Minute: case FnJet::Second:
    case FnJet::Weekday:
        return parteData(f, a[0]);
    case FnJet::DateSerial: return dataSeriale(a[0], a[1], a[2]);
    default: break;
    }
    throw erroreDb(3085, QStringLiteral("funzione aggregata fuori posto"));
}

double valJet(QStringView testo)
{
    std::string s;
    s.reserve(static_cast<size_t>(testo.size()));
    for (const QChar c : testo) {
        const char16_t u = c.unicode();
        if (u == ' ' || u == '\t' || u == '\n' || u == '\r') continue;
        s.push_back(u < 128 ? static_cast<char>(u) : '\x7f');
    }
    size_t i = 0;
    std::string n;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) n.push_back(s[i++]);
    bool cifre = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') { n.push_back(s[i++]); cifre = true; }
    if (i < s.size() && s[i] == '.') {
        n.push_back(s[i++]);
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') { n.push_back(s[i++]); cifre = true; }
    }
    if (!cifre) return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t k = i + 1;
        std::string e = "e";
        if (k < s.size() && (s[k] == '+' || s[k] == '-')) e.push_back(s[k++]);
        if (k < s.size() && s[k] >= '0' && s[k] <= '9') {
            while (k < s.size() && s[k] >= '0' && s[k] <= '9') e.push_back(s[k++]);
            n += e;
        }
    }
    // from_chars: the process locale's decimal sign must not matter
    double v = 0.0;
    const char *p = n.c_str() + (n[0] == '+' ? 1 : 0);
    const auto r = std::from_chars(p, n.c_str() + n.size(), v);
    if (r.ec == std::errc::result_out_of_range || !std::isfinite(v)) errore(ErrNum::Overflow);
    return v;
}
