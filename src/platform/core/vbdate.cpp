#include "vbdate.h"

#include "apperror.h"

#include <QRegularExpression>
#include <cmath>

namespace {

const qint64 kZeroJulian = QDate(1899, 12, 30).toJulianDay();

double splitTime(double serial, double &days)
{
    days = std::trunc(serial);
    return std::fabs(serial - days);
}

} // namespace

Date Date::fromSerial(double serial)
{
    // The range is checked on the serial itself: a huge value must never reach the whole-day
    // conversion.
    static const double firstDay = std::trunc(fromYmd(MinYear, 1, 1).serial());
    static const double lastDay = fromYmd(MaxYear, 12, 31).serial();
    if (!std::isfinite(serial) || std::trunc(serial) < firstDay || std::trunc(serial) > lastDay)
        throw AppError::standard(ErrNum::Overflow);
    return Date(serial);
}

Date Date::fromYmd(int year, int month, int day, int hour, int minute, int second)
{
    const QDate qd(year, month, day);
    if (!qd.isValid() || year < MinYear || year > MaxYear)
        throw AppError::standard(ErrNum::InvalidCall);
    const double days = static_cast<double>(qd.toJulianDay() - kZeroJulian);
    const double t = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    return Date(days < 0 ? days - t : days + t);
}

Date Date::fromQDate(const QDate &d)
{
    return fromYmd(d.year(), d.month(), d.day());
}

Date Date::fromQDateTime(const QDateTime &dt)
{
    const QTime t = dt.time();
    return fromYmd(dt.date().year(), dt.date().month(), dt.date().day(), t.hour(), t.minute(), t.second());
}

Date Date::today()
{
    return fromQDate(QDate::currentDate());
}

Date Date::now()
{
    return fromQDateTime(QDateTime::currentDateTime());
}

QDate Date::toQDate() const
{
    double days = 0;
    splitTime(m_serial, days);
    return QDate::fromJulianDay(kZeroJulian + static_cast<qint64>(days));
}

QDateTime Date::toQDateTime() const
{
    double days = 0;
    const double frac = splitTime(m_serial, days);
    const int secs = static_cast<int>(std::llround(frac * 86400.0));
    QDate d = toQDate();
    if (secs >= 86400)
        return QDateTime(d.addDays(1), QTime(0, 0), Qt::UTC);
    return QDateTime(d, QTime(0, 0).addSecs(secs), Qt::UTC);
}

bool Date::hasTime() const
{
    double days = 0;
    return std::llround(splitTime(m_serial, days) * 86400.0) != 0;
}

Date Date::dateOnly() const
{
    return Date(std::trunc(m_serial));
}

bool Date::isEmptyMarker() const
{
    const QDate d = toQDate();
    return d.year() == 100 && d.month() == 1 && d.day() == 1;
}

Date Date::addDays(int days) const
{
    return fromQDateTime(toQDateTime().addDays(days));
}

Date Date::addMonths(int months) const
{
    return fromQDateTime(toQDateTime().addMonths(months));
}

QString Date::toString() const
{
    const QDateTime dt = toQDateTime();
    const QDate d = dt.date();
    QString s = QStringLiteral("%1/%2/%3")
                    .arg(d.day(), 2, 10, QLatin1Char('0'))
                    .arg(d.month(), 2, 10, QLatin1Char('0'))
                    .arg(d.year(), 4, 10, QLatin1Char('0'));
    if (hasTime())
        s += QLatin1Char(' ') + dt.time().toString(QStringLiteral("HH:mm:ss"));
    return s;
}

QString Date::toIsoString() const
{
    const QDateTime dt = toQDateTime();
    const QDate d = dt.date();
    QString s = QStringLiteral("%1-%2-%3")
                    .arg(d.year(), 4, 10, QLatin1Char('0'))
                    .arg(d.month(), 2, 10, QLatin1Char('0'))
                    .arg(d.day(), 2, 10, QLatin1Char('0'));
    if (hasTime())
        s += QLatin1Char(' ') + dt.time().toString(QStringLiteral("HH:mm:ss"));
    return s;
}

std::optional<Date> Date::parse(QStringView text)
{
    static const QRegularExpression dmy(QStringLiteral(
        R"(^\s*(\d{1,2})[/.-](\d{1,2})[/.-](\d{1,4})(?:\s+(\d{1,2})[:.](\d{1,2})(?:[:.](\d{1,2}))?)?\s*$)"));
    static const QRegularExpression ymd(QStringLiteral(
        R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.\d+)?)?)?\s*$)"));
    int y = 0, m = 0, d = 0, hh = 0, mi = 0, ss = 0;
    auto match = ymd.match(text.toString());
    if (match.hasMatch()) {
        y = match.capturedView(1).toInt();
        m = match.capturedView(2).toInt();
        d = match.capturedView(3).toInt();
    } else {
        match = dmy.match(text.toString());
        if (!match.hasMatch())
            return std::nullopt;
        d = match.capturedView(1).toInt();
        m = match.capturedView(2).toInt();
        const QStringView ys = match.capturedView(3);
        y = ys.toInt();
        if (ys.size() <= 2)
            y += y < 30 ? 2000 : 1900;
    }
    if (match.hasCaptured(4)) {
        hh = match.capturedView(4).toInt();
        mi = match.capturedView(5).toInt();
        if (match.hasCaptured(6))
            ss = match.capturedView(6).toInt();
        if (hh > 23 || mi > 59 || ss > 59)
            return std::nullopt;
    }
    if (y < MinYear || y > MaxYear || !QDate(y, m, d).isValid())
        return std::nullopt;
    return fromYmd(y, m, d, hh, mi, ss);
}

bool isEmptyDateMarkerText(QStringView text)
{
    if (text.trimmed() == u"01/01/100")
        return true;
    const auto d = Date::parse(text);
    return d && d->isEmptyMarker() && !d->hasTime();
}
