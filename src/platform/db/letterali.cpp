#include "letterali.h"

#include "apperror.h"

#include <charconv>
#include <cmath>

QString letteraleTesto(QStringView testo)
{
    QString s;
    s.reserve(testo.size() + 2);
    s.append(QLatin1Char('\''));
    for (const QChar c : testo) {
        if (c.unicode() == 0)
            throw AppError(ErrNum::InvalidCall, QStringLiteral("Il testo contiene un carattere nullo e non può entrare in un'istruzione SQL"));
        if (c == QLatin1Char('\''))
            s.append(QLatin1Char('\''));
        s.append(c);
    }
    s.append(QLatin1Char('\''));
    return s;
}

QString letteraleDouble(double valore)
{
    if (!std::isfinite(valore))
        throw AppError::standard(ErrNum::Overflow);
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, valore);
    return QString::fromLatin1(buf, static_cast<qsizetype>(r.ptr - buf));
}

namespace {

QString iso(const Date &d, bool conOra)
{
    const QDateTime dt = d.toQDateTime();
    const QDate g = dt.date();
    char buf[32];
    if (conOra || d.hasTime()) {
        const QTime t = dt.time();
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", g.year(), g.month(), g.day(), t.hour(), t.minute(),
                      t.second());
    } else {
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", g.year(), g.month(), g.day());
    }
    return QString::fromLatin1(buf);
}

bool cifre(QStringView s, qsizetype da, qsizetype n, int &v)
{
    if (da + n > s.size()) return false;
    v = 0;
    for (qsizetype i = da; i < da + n; ++i) {
        const char16_t c = s[i].unicode();
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    return true;
}

std::optional<Date> costruisci(int y, int m, int d, int hh, int mi, int ss)
{
    if (y < Date::MinYear || y > Date::MaxYear || !QDate::isValid(y, m, d) || hh > 23 || mi > 59 || ss > 59)
        return std::nullopt;
    return Date::fromYmd(y, m, d, hh, mi, ss);
}

// "hh:mm[:ss]" from position p to the end.
bool ora(QStringView s, qsizetype p, int &hh, int &mi, int &ss)
{
    hh = mi = ss = 0;
    if (p >= s.size()) return true;
    QStringView t = s.mid(p).trimmed();
    // Only digits and separators: a sign would move the date to another day.
    for (const QChar c : t)
        if (!c.isDigit() && c != QLatin1Char(':') && c != QLatin1Char('.')) return false;
    const auto parti = t.split(QLatin1Char(':'));
    if (parti.size() < 2 || parti.size() > 3) return false;
    bool ok1 = false, ok2 = false, ok3 = true;
    hh = parti[0].toInt(&ok1);
    mi = parti[1].toInt(&ok2);
    if (parti.size() == 3) {
        QStringView sec = parti[2];
        const qsizetype punto = sec.indexOf(QLatin1Char('.'));
        if (punto >= 0) sec = sec.left(punto);
        ss = sec.toInt(&ok3);
    }
    return ok1 && ok2 && ok3;
}

} // namespace

QString letteraleData(const Date &data, MotoreDb motore, bool conOra)
{
    const bool completa = conOra || data.hasTime();
    const QString t = iso(data, completa);
    if (motore == MotoreDb::SQLite)
        return QLatin1Char('\'') + t + QLatin1Char('\'');
    return (completa ? QStringLiteral("TIMESTAMP '") : QStringLiteral("DATE '")) + t + QLatin1Char('\'');
}

std::optional<Date> leggiDataIso(QStringView s)
{
    int y, m, d;
    if (s.size() < 10 || s[4] != QLatin1Char('-') || s[7] != QLatin1Char('-') || !cifre(s, 0, 4, y) || !cifre(s, 5, 2, m) ||
        !cifre(s, 8, 2, d))
        return std::nullopt;
    int hh = 0, mi = 0, ss = 0;
    if (s.size() > 10) {
        if (s[10] != QLatin1Char(' ') && s[10] != QLatin1Char('T')) return std::nullopt;
        if (s.size() >= 19 && s[13] == QLatin1Char(':') && s[16] == QLatin1Char(':') && cifre(s, 11, 2, hh) &&
            cifre(s, 14, 2, mi) && cifre(s, 17, 2, ss) && (s.size() == 19 || s[19] == QLatin1Char('.'))) {
            // the common case
        } else if (!ora(s, 11, hh, mi, ss)) {
            return std::nullopt;
        }
    }
    return costruisci(y, m, d, hh, mi, ss);
}

std::optional<Date> leggiDataJet(QStringView testo)
{
    const QStringView s = testo.trimmed();
    if (auto d = leggiDataIso(s)) return d;
    // m/d/yyyy [time]
    const qsizetype spazio = s.indexOf(QLatin1Char(' '));
    const QStringView data = spazio < 0 ? s : s.left(spazio);
    const auto parti = data.split(QLatin1Char('/'));
    if (parti.size() != 3) return std::nullopt;
    bool ok1 = false, ok2 = false, ok3 = false;
    const int m = parti[0].toInt(&ok1), d = parti[1].toInt(&ok2);
    int y = parti[2].toInt(&ok3);
    if (!ok1 || !ok2 || !ok3) return std::nullopt;
    if (parti[2].size() <= 2) y += y < 30 ? 2000 : 1900;
    int hh = 0, mi = 0, ss = 0;
    if (spazio >= 0 && !ora(s, spazio + 1, hh, mi, ss)) return std::nullopt;
    return costruisci(y, m, d, hh, mi, ss);
}
