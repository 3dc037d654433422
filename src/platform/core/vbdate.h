#pragma once
// A date as the run-time keeps it: days since 30/12/1899 with the time of day as the
// fraction, years 100 to 9999. The system's empty-date marker is "01/01/100".
#include <QDate>
#include <QDateTime>
#include <QString>
#include <compare>
#include <optional>

class Date {
public:
    static constexpr int MinYear = 100;
    static constexpr int MaxYear = 9999;

    constexpr Date() = default; // 30/12/1899 00:00, the run-time's zero date
    static Date fromSerial(double serial); // raises overflow (6) outside years 100..9999
    static Date fromYmd(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    static Date fromQDate(const QDate &d);
    static Date fromQDateTime(const QDateTime &dt);
    static Date today();
    static Date now();
    // The empty-date marker, 01/01/100.
    static Date emptyMarker() { return fromYmd(100, 1, 1); }

    // "dd/mm/yyyy", "d/m/yy" (00-29 is 20xx, 30-99 is 19xx), "yyyy-mm-dd", each with an
    // optional time "hh:mm[:ss]" or "hh.mm[.ss]"; nullopt when malformed or out of range.
    static std::optional<Date> parse(QStringView text);

    double serial() const { return m_serial; }
    QDate toQDate() const;
    QDateTime toQDateTime() const;
    int year() const { return toQDate().year(); }
    int month() const { return toQDate().month(); }
    int day() const { return toQDate().day(); }
    bool hasTime() const;
    Date dateOnly() const;

    bool isEmptyMarker() const;

    Date addDays(int days) const;
    Date addMonths(int months) const;

    // "dd/mm/yyyy", with " hh:mm:ss" when there is a time of day.
    QString toString() const;
    // ISO form "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss".
    QString toIsoString() const;

    auto operator<=>(const Date &o) const = default;

private:
    constexpr explicit Date(double s) : m_serial(s) {}
    double m_serial = 0.0;
};

// True when the text is the empty-date marker "01/01/100" (any form that reads as that date).
bool isEmptyDateMarkerText(QStringView text);
