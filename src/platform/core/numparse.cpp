#include "numparse.h"

#include <QList>

#include <charconv>
#include <string>

namespace {

std::optional<double> toDouble(const std::string &s)
{
    double v = 0.0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size())
        return std::nullopt;
    return v;
}

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

} // namespace

std::optional<double> parseNumber(QStringView text)
{
    QStringView t = text.trimmed();
    if (!t.isEmpty()) {
        const QChar last = t.back();
        if (last == u'#' || last == u'!' || last == u'@' || last == u'%' || last == u'&')
            t.chop(1);
    }
    if (t.isEmpty())
        return std::nullopt;

    std::string out;
    qsizetype i = 0;
    if (t[i] == u'-' || t[i] == u'+') {
        if (t[i] == u'-') out += '-';
        ++i;
    }
    // Mantissa: digits with separators; exponent after it.
    qsizetype mantEnd = i;
    while (mantEnd < t.size() && (isDigit(t[mantEnd]) || t[mantEnd] == u'.' || t[mantEnd] == u','))
        ++mantEnd;
    const QStringView mant = t.mid(i, mantEnd - i);
    if (mant.isEmpty())
        return std::nullopt;

    const qsizetype lastDot = mant.lastIndexOf(u'.');
    const qsizetype lastComma = mant.lastIndexOf(u',');
    QChar decimalSign;
    QChar groupSign;
    if (lastDot >= 0 && lastComma >= 0) {
        decimalSign = lastDot > lastComma ? QChar(u'.') : QChar(u',');
        groupSign = lastDot > lastComma ? QChar(u',') : QChar(u'.');
    } else if (lastComma >= 0) {
        decimalSign = u',';
        if (mant.count(u',') > 1) { decimalSign = QChar(); groupSign = u','; }
    } else if (lastDot >= 0) {
        decimalSign = u'.';
        if (mant.count(u'.') > 1) { decimalSign = QChar(); groupSign = u'.'; }
    }
    // Grouped digits come in threes after the first group.
    if (!groupSign.isNull()) {
        const qsizetype decPos = decimalSign.isNull() ? mant.size() : mant.lastIndexOf(decimalSign);
        const QStringView intPart = mant.left(decPos);
        const auto groups = intPart.split(groupSign);
        for (qsizetype g = 0; g < groups.size(); ++g) {
            if (groups[g].isEmpty() || (g > 0 && groups[g].size() != 3) || (g == 0 && groups[g].size() > 3))
                return std::nullopt;
        }
    }
    bool anyDigit = false;
    for (QChar c : mant) {
        if (isDigit(c)) { out += static_cast<char>(c.unicode()); anyDigit = true; }
        else if (c == decimalSign) out += '.';
        else if (c != groupSign) return std::nullopt;
    }
    if (!anyDigit)
        return std::nullopt;
    i = mantEnd;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        out += 'e';
        ++i;
        if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
            if (t[i] == u'-') out += '-';
            ++i;
        }
        const qsizetype expStart = i;
        while (i < t.size() && isDigit(t[i])) out += static_cast<char>(t[i++].unicode());
        if (i == expStart)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    return toDouble(out);
}

double leadingNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    std::string out;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-') out += '-';
        ++i;
    }
    bool anyDigit = false, seenPoint = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isDigit(c)) { out += static_cast<char>(c.unicode()); anyDigit = true; }
        else if ((c == u'.' || c == u',') && !seenPoint) { out += '.'; seenPoint = true; }
        else break;
    }
    if (!anyDigit)
        return 0.0;
    if (out.back() == '.') out.pop_back();
    return toDouble(out).value_or(0.0);
}
