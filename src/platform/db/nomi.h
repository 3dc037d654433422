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

struct UgualeNome {
    using is_transparent = void;
    bool operator()(QStringView a, QStringView b) const noexcept
    {
        return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
    }
};

// Exact text keys (statement texts).
struct HashTesto {
    size_t operator()(const QString &s) const noexcept { return qHash(s); }
};
