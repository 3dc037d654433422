#pragma once
// Text comparison as the system does it: keys, markers, switches, form names, settings and the
// database's text columns compare ignoring letter case, over the whole alphabet ("CAFFÈ" equals
// "caffè"). Each character is taken in lower case, then the texts compare character by
// character: the rule PostgreSQL's case-insensitive text follows, and the one the SQLite company
// files are given (textCompareUtf8), so that both engines and the program agree.
#include <QString>
#include <QStringView>

#include <algorithm>

// The lower case of one character (its own simple mapping; "İ" gives "i").
char32_t textFoldChar(char32_t c);

namespace textcompare_detail {
int compareFrom(QStringView a, QStringView b, qsizetype from);
}

inline int textCompare(QStringView a, QStringView b)
{
    // Plain ASCII, the common case, without leaving the loop.
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if ((x | y) >= 0x80)
            return textcompare_detail::compareFrom(a, b, i);
        if (x != y) {
            if (x >= u'A' && x <= u'Z')
                x += 32;
            if (y >= u'A' && y <= u'Z')
                y += 32;
            if (x != y)
                return x < y ? -1 : 1;
        }
    }
    return (a.size() > n) - (b.size() > n);
}

inline bool textEquals(QStringView a, QStringView b)
{
    return textCompare(a, b) == 0;
}

// The text in lower case as textCompare takes it: equal texts give the same key. A text that is
// so already comes back shared, without a copy.
QString textFolded(const QString &s);

// textCompare on two UTF-8 texts (SQLite's collation of text columns).
int textCompareUtf8(const char *a, int na, const char *b, int nb);
