#include "likejet.h"

#include "textcompare.h"

#include <vector>

namespace {

// One piece of a pattern: a [list] (its text between the brackets) or one character.
struct Pezzo {
    bool lista = false;
    QStringView testo;
};

std::vector<Pezzo> pezzi(QStringView m)
{
    std::vector<Pezzo> out;
    out.reserve(static_cast<size_t>(m.size()));
    for (qsizetype i = 0; i < m.size();) {
        if (m[i] == QLatin1Char('[')) {
            const qsizetype chiusa = m.indexOf(QLatin1Char(']'), i + 1);
            if (chiusa > i + 1) {
                out.push_back({true, m.mid(i + 1, chiusa - i - 1)});
                i = chiusa + 1;
                continue;
            }
        }
        out.push_back({false, m.mid(i, 1)});
        ++i;
    }
    return out;
}

QChar piega(QChar c) { return QChar(static_cast<char16_t>(textFoldChar(c.unicode()))); }

bool inLista(QChar c0, QStringView lista)
{
    bool negata = false;
    if (lista.size() > 1 && lista.front() == QLatin1Char('!')) {
        negata = true;
        lista = lista.mid(1);
    }
    const QChar c = piega(c0);
    bool dentro = false;
    for (qsizetype k = 0; k < lista.size(); ++k) {
        if (k + 2 < lista.size() && lista[k + 1] == QLatin1Char('-')) {
            if (c >= piega(lista[k]) && c <= piega(lista[k + 2])) dentro = true;
            k += 2;
        } else if (c == piega(lista[k])) {
            dentro = true;
        }
    }
    return dentro != negata;
}

// Matching without recursion: the last "*" seen is where a failed attempt resumes.
bool confronta(QStringView s, const std::vector<Pezzo> &p)
{
    size_t j = 0, stellaP = SIZE_MAX;
    qsizetype i = 0, stellaS = 0;
    while (i < s.size()) {
        if (j < p.size() && !p[j].lista && p[j].testo.front() == QLatin1Char('*')) {
            stellaP = j++;
            stellaS = i;
            continue;
        }
        bool ok = false;
        if (j < p.size()) {
            const Pezzo &x = p[j];
            const QChar c = x.testo.front();
            if (x.lista) ok = inLista(s[i], x.testo);
            else if (c == QLatin1Char('?')) ok = true;
            else if (c == QLatin1Char('#')) ok = s[i].isDigit();
            else ok = piega(s[i]) == piega(c);
        }
        if (ok) {
            ++i;
            ++j;
        } else if (stellaP != SIZE_MAX) {
            j = stellaP + 1;
            i = ++stellaS;
        } else {
            return false;
        }
    }
    while (j < p.size() && !p[j].lista && p[j].testo.front() == QLatin1Char('*')) ++j;
    return j == p.size();
}

} // namespace

bool likeJet(QStringView testo, QStringView modello)
{
    return confronta(testo, pezzi(modello));
}

QString regexDaLike(QStringView modello)
{
    QString r = QStringLiteral("^");
    for (const Pezzo &p : pezzi(modello)) {
        if (p.lista) {
            QStringView l = p.testo;
            r += QLatin1Char('[');
            if (l.size() > 1 && l.front() == QLatin1Char('!')) {
                r += QLatin1Char('^');
                l = l.mid(1);
            }
            for (const QChar c : l) {
                if (c == QLatin1Char('\\')) r += QLatin1Char('\\');
                r += c;
            }
            r += QLatin1Char(']');
            continue;
        }
        const QChar c = p.testo.front();
        if (c == QLatin1Char('*')) r += QStringLiteral(".*");
        else if (c == QLatin1Char('?')) r += QLatin1Char('.');
        else if (c == QLatin1Char('#')) r += QStringLiteral("[0-9]");
        else {
            const char16_t u = c.unicode();
            const bool piano = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
                               u == ' ' || (u >= 128 && c.isLetterOrNumber());
            if (!piano) r += QLatin1Char('\\');
            r += c;
        }
    }
    return r + QLatin1Char('$');
}
