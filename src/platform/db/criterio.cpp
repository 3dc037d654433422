#include "criterio.h"

#include "errori.h"
#include "letterali.h"

#include <cmath>

namespace {

bool vero(const Variant &v)
{
    if (v.isNull() || v.isEmpty()) return false;
    if (v.type() == Variant::Type::Boolean) return v.toBool();
    if (v.isNumber()) return v.toDouble() != 0.0;
    return v.toBool();
}

// Three-valued logic: Null, True (-1) or False (0) as a Variant.
Variant logico(std::optional<bool> b)
{
    return b ? Variant(*b) : Variant::null();
}

std::optional<bool> tre(const Variant &v)
{
    if (v.isNull()) return std::nullopt;
    return vero(v);
}

Variant numero(QStringView t)
{
    bool ok = false;
    if (!t.contains(QLatin1Char('.')) && !t.contains(QLatin1Char('e')) && !t.contains(QLatin1Char('E'))) {
        const qlonglong n = t.toLongLong(&ok);
        if (ok && n >= INT32_MIN && n <= INT32_MAX) return Variant(static_cast<int32_t>(n));
    }
    return Variant(t.toDouble());
}

bool interi(const Variant &a, const Variant &b)
{
    const auto intero = [](const Variant &v) {
        return v.type() == Variant::Type::Integer || v.type() == Variant::Type::Long || v.type() == Variant::Type::Boolean;
    };
    return intero(a) && intero(b);
}

QChar piega(QChar c) { return c.toCaseFolded(); }

bool likeDa(QStringView s, qsizetype i, QStringView m, qsizetype j)
{
    while (j < m.size()) {
        const QChar p = m[j];
        if (p == QLatin1Char('*')) {
            while (j < m.size() && m[j] == QLatin1Char('*')) ++j;
            if (j == m.size()) return true;
            for (qsizetype k = i; k <= s.size(); ++k)
                if (likeDa(s, k, m, j)) return true;
            return false;
        }
        if (i >= s.size()) return false;
        if (p == QLatin1Char('?')) {
            ++i; ++j;
        } else if (p == QLatin1Char('#')) {
            if (!s[i].isDigit()) return false;
            ++i; ++j;
        } else if (p == QLatin1Char('[')) {
            const qsizetype chiusa = m.indexOf(QLatin1Char(']'), j + 1);
            if (chiusa < 0) return false;
            QStringView lista = m.mid(j + 1, chiusa - j - 1);
            bool negata = false;
            if (!lista.isEmpty() && lista.front() == QLatin1Char('!')) {
                negata = true;
                lista = lista.mid(1);
            }
            bool dentro = false;
            const QChar c = piega(s[i]);
            for (qsizetype k = 0; k < lista.size(); ++k) {
                if (k + 2 < lista.size() && lista[k + 1] == QLatin1Char('-')) {
                    if (c >= piega(lista[k]) && c <= piega(lista[k + 2])) dentro = true;
                    k += 2;
                } else if (c == piega(lista[k])) {
                    dentro = true;
                }
            }
            if (dentro == negata) return false;
            ++i;
            j = chiusa + 1;
        } else {
            if (piega(s[i]) != piega(p)) return false;
            ++i; ++j;
        }
    }
    return i == s.size();
}

} // namespace

bool likeJet(QStringView testo, QStringView modello)
{
    return likeDa(testo, 0, modello, 0);
}

Criterio::Criterio(const QString &testo) : m_testo(testo)
{
    m_albero = analizzaEspressione(m_testo, m_radice);
}

void Criterio::collega(const std::function<int(QStringView)> &indice)
{
    m_campi.assign(m_albero.nodi.size(), -1);
    for (size_t i = 0; i < m_albero.nodi.size(); ++i) {
        const Nodo &x = m_albero.nodi[i];
        if (x.tipo == Nd::Esiste || x.tipo == Nd::InSelect || x.tipo == Nd::SottoSelect)
            throw erroreSintassi(QStringLiteral("sottoquery in un criterio di ricerca"));
        if (x.tipo != Nd::Colonna) continue;
        QString nome = m_albero.nome(x.tok).toString();
        if (x.tok2 >= 0) nome = m_albero.nome(x.tok2).toString() + QLatin1Char('.') + nome;
        const int c = indice(nome);
        if (c == -2) throw erroreDb(ErrDb::ElementoNonTrovato, nome);
        if (c < 0) throw erroreDb(ErrDb::CampoSconosciuto, nome);
        m_campi[i] = c;
    }
}

bool Criterio::soddisfatto(const std::function<Variant(int)> &campo) const
{
    return vero(valuta(m_radice, campo));
}

Variant Criterio::valuta(int nodo, const std::function<Variant(int)> &campo) const
{
    const Nodo &x = m_albero.n(nodo);
    const auto v = [&](int n) { return valuta(n, campo); };
    switch (x.tipo) {
    case Nd::Null: return Variant::null();
    case Nd::Vero: return Variant(true);
    case Nd::Falso: return Variant(false);
    case Nd::Numero: return numero(m_albero.testo(x.tok));
    case Nd::Testo: return Variant(valoreTesto(m_albero.testo(x.tok)));
    case Nd::Data: {
        QStringView t = m_albero.testo(x.tok);
        t = t.mid(1, t.size() - 2);
        const auto d = x.extra == 1 ? leggiDataIso(t) : leggiDataJet(t);
        if (!d) throw erroreSintassi(QStringLiteral("data non valida: %1").arg(t));
        return Variant(*d);
    }
    case Nd::Colonna: return campo(m_campi[static_cast<size_t>(nodo)]);
    case Nd::Unario: {
        const Variant a = v(x.a);
        if (x.op == Op::Not) {
            const auto b = tre(a);
            return logico(b ? std::optional<bool>(!*b) : std::nullopt);
        }
        if (a.isNull()) return a;
        if (x.op == Op::Piu) return a;
        if (a.type() == Variant::Type::Currency) return Variant(-a.toCurrency());
        if (a.type() == Variant::Type::Long || a.type() == Variant::Type::Integer) return Variant(-a.toLong());
        return Variant(-a.toDouble());
    }
    case Nd::ENull: {
        const bool n = v(x.a).isNull();
        return Variant(x.neg ? !n : n);
    }
    case Nd::Tra: {
        const Variant a = v(x.a);
        const auto c1 = Variant::compare(a, v(x.b));
        const auto c2 = Variant::compare(a, v(x.c));
        if (!c1 || !c2) return Variant::null();
        const bool dentro = *c1 >= 0 && *c2 <= 0;
        return Variant(x.neg ? !dentro : dentro);
    }
    case Nd::InLista: {
        const Variant a = v(x.a);
        if (a.isNull()) return Variant::null();
        bool trovato = false;
        for (int e = x.b; e >= 0 && !trovato; e = m_albero.n(e).seguente) {
            const auto c = Variant::compare(a, v(e));
            trovato = c && *c == 0;
        }
        return Variant(x.neg ? !trovato : trovato);
    }
    case Nd::Funzione: {
        const QStringView f = m_albero.testo(x.tok);
        std::vector<Variant> arg;
        for (int a = x.a; a >= 0; a = m_albero.n(a).seguente) arg.push_back(v(a));
        const auto e = [&](const char *nome, size_t n) {
            return f.compare(QLatin1String(nome), Qt::CaseInsensitive) == 0 && arg.size() == n;
        };
        if (e("iif", 3)) return vero(arg[0]) ? arg[1] : arg[2];
        if (e("isnull", 1)) return Variant(arg[0].isNull());
        if (e("nz", 1)) return arg[0].isNull() ? Variant(static_cast<int32_t>(0)) : arg[0];
        if (e("nz", 2)) return arg[0].isNull() ? arg[1] : arg[0];
        if (arg.size() >= 1 && arg[0].isNull()) return Variant::null();
        if (e("len", 1)) return Variant(static_cast<int32_t>(arg[0].text().size()));
        if (e("ucase", 1) || e("upper", 1)) return Variant(arg[0].text().toUpper());
        if (e("lcase", 1) || e("lower", 1)) return Variant(arg[0].text().toLower());
        if (e("trim", 1)) return Variant(arg[0].text().trimmed());
        if (e("left", 2)) return Variant(arg[0].text().left(arg[1].toLong()));
        if (e("right", 2)) return Variant(arg[0].text().right(arg[1].toLong()));
        if (e("mid", 2)) return Variant(arg[0].text().mid(arg[1].toLong() - 1));
        if (e("mid", 3)) return Variant(arg[0].text().mid(arg[1].toLong() - 1, arg[2].toLong()));
        throw erroreSintassi(QStringLiteral("funzione non gestita in un criterio: %1").arg(f));
    }
    case Nd::Binario: break;
    default: throw erroreSintassi(QStringLiteral("espressione non gestita in un criterio"));
    }
    // binary operators
    if (x.op == Op::And || x.op == Op::Or || x.op == Op::Xor) {
        const auto a = tre(v(x.a));
        if (x.op == Op::And && a && !*a) return Variant(false);
        if (x.op == Op::Or && a && *a) return Variant(true);
        const auto b = tre(v(x.b));
        if (x.op == Op::And) {
            if (b && !*b) return Variant(false);
            return a && b ? Variant(true) : Variant::null();
        }
        if (x.op == Op::Or) {
            if (b && *b) return Variant(true);
            return a && b ? Variant(false) : Variant::null();
        }
        return a && b ? Variant(*a != *b) : Variant::null();
    }
    const Variant a = v(x.a), b = v(x.b);
    switch (x.op) {
    case Op::Concatena: return a & b;
    case Op::Like: {
        if (a.isNull() || b.isNull()) return Variant::null();
        const bool m = likeJet(a.text(), b.text());
        return Variant(x.neg ? !m : m);
    }
    case Op::Uguale: case Op::Diverso: case Op::Minore: case Op::Maggiore: case Op::MinoreUguale:
    case Op::MaggioreUguale: {
        const auto c = Variant::compare(a, b);
        if (!c) return Variant::null();
        switch (x.op) {
        case Op::Uguale: return Variant(*c == 0);
        case Op::Diverso: return Variant(*c != 0);
        case Op::Minore: return Variant(*c < 0);
        case Op::Maggiore: return Variant(*c > 0);
        case Op::MinoreUguale: return Variant(*c <= 0);
        default: return Variant(*c >= 0);
        }
    }
    default: break;
    }
    if (a.isNull() || b.isNull()) return Variant::null();
    switch (x.op) {
    case Op::Piu:
        if (a.isText() && b.isText()) return Variant(a.text() + b.text());
        if (a.type() == Variant::Type::Currency || b.type() == Variant::Type::Currency)
            return Variant(a.toCurrency() + b.toCurrency());
        if (interi(a, b)) return Variant(static_cast<double>(a.toLong()) + b.toLong());
        return Variant(a.toDouble() + b.toDouble());
    case Op::Meno:
        if (a.type() == Variant::Type::Currency || b.type() == Variant::Type::Currency)
            return Variant(a.toCurrency() - b.toCurrency());
        return Variant(a.toDouble() - b.toDouble());
    case Op::Per: return Variant(a.toDouble() * b.toDouble());
    case Op::Diviso:
        if (b.toDouble() == 0.0) throw AppError::standard(ErrNum::DivByZero);
        return Variant(a.toDouble() / b.toDouble());
    case Op::DivisioneIntera: {
        const int32_t d = b.toLong();
        if (d == 0) throw AppError::standard(ErrNum::DivByZero);
        return Variant(static_cast<int32_t>(a.toLong() / d));
    }
    case Op::Modulo: {
        const int32_t d = b.toLong();
        if (d == 0) throw AppError::standard(ErrNum::DivByZero);
        return Variant(static_cast<int32_t>(a.toLong() % d));
    }
    case Op::Potenza: return Variant(std::pow(a.toDouble(), b.toDouble()));
    default: throw erroreSintassi(QStringLiteral("operatore non gestito in un criterio"));
    }
}
