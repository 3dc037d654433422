#pragma once
// Names of tables, fields and aliases compare ignoring letter case: hashing and equality for
// maps keyed by such names, usable with a QStringView key without building a folded copy.
#include <QString>
#include <QStringView>
#include <QHashFunctions>
#include <cstddef>

struct HashNome {
    using is_transparent = void;
    size_t operator()(QStringView s) const noexcept
    {
        size_t h = 1469598103934665603ull;
        for (const QChar c : s) {
            char16_t u = c.unicode();
            if (u < 128) {
                if (u >= 'A' && u <= 'Z') u = static_cast<char16_t>(u + 32);
            } else {
                u = c.toCaseFolded().unicode();
            }
            h = (h ^ u) * 1099511628211ull;
        }
        return h;
    }
    size_t operator()(const QString &s) const noexcept { return (*this)(QStringView(s)); }
};

// Equality ignoring letter case, with a quick path for the ASCII names of the schema.
inline bool stessoNome(QStringView a, QStringView b) noexcept
{
    if (a.size() != b.size()) return false;
    const char16_t *p = a.utf16(), *q = b.utf16();
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = p[i], y = q[i];
        if (x == y) continue;
        if (x < 128 && y < 128) {
            if (x >= 'A' && x <= 'Z') x = static_cast<char16_t>(x + 32);
            if (y >= 'A' && y <= 'Z') y = static_cast<char16_t>(y + 32);
            if (x != y) return false;
        } else if (QChar(x).toCaseFolded() != QChar(y).toCaseFolded()) {
            return false;
        }
    }
    return true;
}

struct UgualeNome {
    using is_transparent = void;
    bool operator()(QStringView a, QStringView b) const noexcept { return stessoNome(a, b); }
};

// Exact text keys (statement texts).
struct HashTesto {
    size_t operator()(const QString &s) const noexcept { return qHash(s); }
};

// Exact text keys looked up by view.
struct HashVista {
    using is_transparent = void;
    size_t operator()(QStringView s) const noexcept { return qHash(s); }
    size_t operator()(const QString &s) const noexcept { return qHash(QStringView(s)); }
};
