#include "criterio.h"

#include "errori.h"
#include "funzionijet.h"
#include "letterali.h"
#include "likejet.h"
#include "operatorijet.h"
#include "tipijet.h"

#include <algorithm>

namespace {

// How deep the evaluation may recurse (AND and OR chains are walked without recursion).
constexpr int kMaxProfondita = 600;

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

} // namespace

Criterio::Criterio(const QString &testo) : m_testo(testo)
{
    m_albero = analizzaEspressione(m_testo, m_radice);
    for (const Nodo &x : m_albero.nodi) {
        if (x.tipo != Nd::Funzione) continue;
        const QStringView nome = m_albero.nome(x.tok);
        const FirmaJet *f = m_albero.testo(x.tok) == nome ? funzioneJet(nome) : nullptr;
        if (!f) throw erroreDb(ErrDb::FunzioneSconosciuta, nome.toString());
        if (aggregata(f->id)) throw erroreSintassi(QStringLiteral("funzione di aggregazione in un criterio di ricerca"));
        int k = 0;
        for (int a = x.a; a >= 0; a = m_albero.n(a).seguente) ++k;
        if (k < f->minimo || k > f->massimo)
            throw erroreSintassi(QStringLiteral("numero di argomenti errato per %1").arg(QLatin1String(f->nome)));
    }
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
    int profondita = 0;
    return vero(valuta(m_radice, campo, profondita));
}

Variant Criterio::valuta(int nodo, const std::function<Variant(int)> &campo, int &profondita) const
{
    struct Livello {
        int &p;
        explicit Livello(int &q) : p(q)
        {
            if (++p > kMaxProfondita) {
                --p;
                throw erroreSintassi(QStringLiteral("espressione troppo complessa"));
            }
        }
        ~Livello() { --p; }
    } livello(profondita);
    const Nodo &x = m_albero.n(nodo);
    const auto v = [&](int n) { return valuta(n, campo, profondita); };
    switch (x.tipo) {
    case Nd::Null: return Variant::null();
    case Nd::Vero: return Variant(true);
    case Nd::Falso: return Variant(false);
    case Nd::Numero: return numeroLetteraleJet(m_albero.testo(x.tok));
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
        return x.op == Op::Meno ? negaJet(a) : a;
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
        const FnJet f = funzioneJet(m_albero.nome(x.tok))->id;
        std::vector<int> nodi;
        for (int a = x.a; a >= 0; a = m_albero.n(a).seguente) nodi.push_back(a);
        if (f == FnJet::IIf) return vero(v(nodi[0])) ? v(nodi[1]) : v(nodi[2]);
        std::vector<Variant> arg;
        arg.reserve(nodi.size());
        for (int a : nodi) arg.push_back(v(a));
        return chiamaFunzioneJet(f, arg);
    }
    case Nd::Binario: break;
    default: throw erroreSintassi(QStringLiteral("espressione non gestita in un criterio"));
    }
    if (x.op == Op::And || x.op == Op::Or) {
        // The chain's terms gathered without recursion, then met left to right.
        std::vector<int> termini;
        int y = nodo;
        while (m_albero.n(y).tipo == Nd::Binario && m_albero.n(y).op == x.op) {
            termini.push_back(m_albero.n(y).b);
            y = m_albero.n(y).a;
        }
        termini.push_back(y);
        std::reverse(termini.begin(), termini.end());
        bool ignoto = false;
        for (int t : termini) {
            const auto b = tre(v(t));
            if (!b) ignoto = true;
            else if (*b == (x.op == Op::Or)) return Variant(*b);
        }
        return ignoto ? Variant::null() : Variant(x.op == Op::And);
    }
    if (x.op == Op::Xor) {
        const auto a = tre(v(x.a)), b = tre(v(x.b));
        return a && b ? Variant(*a != *b) : Variant::null();
    }
    const Variant a = v(x.a), b = v(x.b);
    switch (x.op) {
    case Op::Like: {
        if (a.isNull() || b.isNull()) return Variant::null();
        const bool m = likeJet(testoJet(a), testoJet(b));
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
    default: return operaJet(x.op, a, b);
    }
}
