#include "textcompare.h"

#include <QChar>

#include <algorithm>

namespace {

// The next character of a UTF-16 text from `i` (a lone surrogate stands for itself).
char32_t nextUtf16(QStringView s, qsizetype &i)
{
    const char16_t c = s[i++].unicode();
    if (QChar::isHighSurrogate(c) && i < s.size() && QChar::isLowSurrogate(s[i].unicode()))
        return QChar::surrogateToUcs4(c, s[i++].unicode());
    return c;
}

// The next character of a UTF-8 text from `i`; a malformed byte stands for itself.
char32_t nextUtf8(const unsigned char *s, int n, int &i)
{
    const unsigned char c = s[i++];
    if (c < 0x80)
        return c;
    const int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (more == 0 || i + more > n)
        return c;
    char32_t u = c & (0x3F >> more);
    for (int k = 0; k < more; ++k) {
        const unsigned char t = s[i + k];
        if ((t & 0xC0) != 0x80)
            return c;
        u = (u << 6) | (t & 0x3F);
    }
    i += more;
    return u;
}

int compareChars(char32_t x, char32_t y)
{
    x = textFoldChar(x);
    y = textFoldChar(y);
    return x == y ? 0 : x < y ? -1 : 1;
}

} // namespace

char32_t textFoldChar(char32_t c)
{
    if (c < 0x80)
        return c >= U'A' && c <= U'Z' ? c + 32 : c;
    // Its lower case has two characters (an i and a dot above); PostgreSQL and the C library
    // lower it to the plain i.
    if (c == 0x130)
        return U'i';
    return QChar::toLower(c);
}

namespace textcompare_detail {

int compareFrom(QStringView a, QStringView b, qsizetype from)
{
    qsizetype i = from, j = from;
    while (i < a.size() && j < b.size())
        if (const int c = compareChars(nextUtf16(a, i), nextUtf16(b, j)))
            return c;
    return (i < a.size()) - (j < b.size());
}

} // namespace textcompare_detail

QString textFolded(const QString &s)
{
    const auto giaPiegato = [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x80 && !(u >= u'A' && u <= u'Z');
    };
    if (std::all_of(s.cbegin(), s.cend(), giaPiegato))
        return s;
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size();) {
        const char32_t c = textFoldChar(nextUtf16(s, i));
        if (QChar::requiresSurrogates(c)) {
            out.append(QChar(QChar::highSurrogate(c)));
            out.append(QChar(QChar::lowSurrogate(c)));
        } else {
            out.append(QChar(static_cast<char16_t>(c)));
        }
    }
    return out;
}

int textCompareUtf8(const char *a, int na, const char *b, int nb)
{
    const auto *x = reinterpret_cast<const unsigned char *>(a);
    const auto *y = reinterpret_cast<const unsigned char *>(b);
    int i = 0, j = 0;
    while (i < na && j < nb) {
        const unsigned char p = x[i], q = y[j];
        if ((p | q) < 0x80) {
            ++i;
            ++j;
            if (p != q)
                if (const int c = compareChars(p, q))
                    return c;
            continue;
        }
        if (const int c = compareChars(nextUtf8(x, na, i), nextUtf8(y, nb, j)))
            return c;
    }
    return (i < na) - (j < nb);
}
