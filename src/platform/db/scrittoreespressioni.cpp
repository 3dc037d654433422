// The writer: values and conditions. Each value goes in its engine's form of its Jet type;
// where two values meet (comparisons, branches, assignments) one is converted to the other's.
#include "errori.h"
#include "letterali.h"
#include "likejet.h"
#include "operatorijet.h"
#include "scrittoresql.h"

#include "currency.h"

#include <algorithm>
#include <cstring>

namespace scrittura {

namespace {

// Binding strength of the written forms: OR 1, AND 2, NOT 3, comparisons 4, anything in
// parentheses or called as a function 12.
constexpr int kOr = 1, kAnd = 2, kNot = 3, kConfronto = 4;

const char *testoConfronto(Op o)
{
    switch (o) {
    case Op::Uguale: return " = ";
    case Op::Diverso: return " <> ";
    case Op::Minore: return " < ";
    case Op::Maggiore: return " > ";
    case Op::MinoreUguale: return " <= ";
    default: return " >= ";
    }
}

char letteraOperatore(Op o)
{
    switch (o) {
    case Op::Piu: return '+';
    case Op::Meno: return '-';
    case Op::Per: return '*';
    case Op::Diviso: return '/';
    case Op::DivisioneIntera: return '\\';
    case Op::Modulo: return 'M';
    case Op::Potenza: return '^';
    default: return '?';
    }
}

// How many terms an AND/OR chain or a concatenation writes flat; longer ones are grouped so
// that the engines' own expression depth stays small.
constexpr size_t kGruppo = 64;

// A number literal as CStr writes it.
QString testoJetNumero(QStringView t)
{
    bool intero = false;
    const qlonglong v = t.toLongLong(&intero);
    if (intero) return QString::number(v);
    if (const auto c = Currency::parse(t); c && !t.contains(u'e') && !t.contains(u'E')) return testoJet(Variant(*c));
    return testoJet(Variant(t.toDouble()));
}

} // namespace

// ------------------------------------------------------------------ output buffer

void Uscita::aggiungi(QStringView v)
{
    spazio(v.size());
    const char16_t *p = v.utf16();
    for (qsizetype i = 0; i < v.size(); ++i) m_dati[m_lung + i] = p[i];
    m_lung += v.size();
}

void Uscita::aggiungi(const char *latino)
{
    const qsizetype n = static_cast<qsizetype>(std::strlen(latino));
    spazio(n);
    for (qsizetype i = 0; i < n; ++i) m_dati[m_lung + i] = static_cast<unsigned char>(latino[i]);
    m_lung += n;
}

QString Uscita::prendi()
{
    m_testo.truncate(m_lung);
    m_dati = nullptr;
    m_lung = 0;
    return std::move(m_testo);
}

void Uscita::spazio(qsizetype n)
{
    if (m_lung + n <= m_testo.size()) return;
    if (m_massimo > 0 && m_lung + n > m_massimo) throw erroreSintassi(QStringLiteral("istruzione troppo complessa"));
    m_testo.resize(std::max<qsizetype>(m_testo.size() * 2, m_lung + n + 64));
    m_dati = reinterpret_cast<char16_t *>(m_testo.data());
}

// ------------------------------------------------------------------ values

void Scrittore::valore(int e, int serve)
{
    const Profondita p(*this);
    const Nd t = n(e).tipo;
    if (t != Nd::Vero && t != Nd::Falso && ePredicato(e)) {
        // A condition used as a value gives -1 or 0 (Null stays Null).
        w(sqlite() ? "(-(" : "(-CAST((");
        condizione(e);
        w(sqlite() ? "))" : ") AS integer))");
        return;
    }
    valoreNodo(e, serve);
}

void Scrittore::valoreCome(int e, TipoJet come, int serve)
{
    const TipoJet da = tipo(e);
    if (da == come || (come == TipoJet::Ignoto && da != TipoJet::Valuta)) {
        valore(e, serve);
        return;
    }
    const Profondita p(*this);
    switch (n(e).tipo) {
    case Nd::Null: w("NULL"); return;
    case Nd::Numero: numero(e, come); return;
    default: break;
    }
    converti(e, da, come);
}

void Scrittore::valoreNodo(int e, int serve)
{
    const Nodo &x = n(e);
    switch (x.tipo) {
    case Nd::Null: w("NULL"); break;
    case Nd::Vero: w("-1"); break;
    case Nd::Falso: w("0"); break;
    case Nd::Numero: numero(e, tipo(e)); break;
    case Nd::Testo: testo(x.tok, TipoCampo::Sconosciuto); break;
    case Nd::Data: data(e, TipoCampo::Sconosciuto); break;
    case Nd::Colonna: nomeQualificato(x.tok2 >= 0 ? m_a.nome(x.tok2) : QStringView(), m_a.nome(x.tok)); break;
    case Nd::Stella:
        if (x.tok2 >= 0) nomeQualificato(m_a.nome(x.tok2), QStringView());
        w("*");
        break;
    case Nd::Unario:
        if (x.op == Op::Meno) negazione(e);
        else valore(x.a, serve);
        break;
    case Nd::Binario:
        if (x.op == Op::Concatena) concatena(e);
        else aritmetica(e);
        break;
    case Nd::SottoSelect:
        w("(");
        select(x.s, nullptr);
        w(")");
        break;
    case Nd::Funzione: funzione(e, false); break;
    default: throw erroreSintassi(QStringLiteral("espressione non valida"));
    }
}

// A number literal written as a value of the type.
void Scrittore::numero(int e, TipoJet come)
{
    const QStringView t = m_a.testo(n(e).tok);
    const TipoJet proprio = tipo(e);
    switch (come) {
    case TipoJet::Valuta:
        if (sqlite()) {
            // Ten-thousandths, exact; the halves of a fifth decimal go to even as CCur does.
            const std::optional<Currency> c = Currency::parse(t);
            if (!c) throw AppError::standard(ErrNum::Overflow);
            w(QString::number(c->units()));
            return;
        }
        w(t);
        return;
    case TipoJet::Intero: case TipoJet::Lungo: case TipoJet::Logico:
        if (proprio == TipoJet::Intero || (proprio == TipoJet::Lungo && come != TipoJet::Intero)) {
            w(t);
            return;
        }
        // Rounded, or refused with Jet's overflow, as the engine converts it.
        converti(e, proprio, come);
        return;
    case TipoJet::Testo: w(letteraleTesto(testoJetNumero(t))); return;
    case TipoJet::Data: converti(e, proprio, come); return;
    case TipoJet::Doppio:
        // PostgreSQL reads 1 as an integer and 1.5 as an exact numeric: both would divide otherwise.
        if (!sqlite()) {
            w("CAST(");
            w(t);
            w(" AS double precision)");
            return;
        }
        w(t);
        return;
    default:
        w(t);
        return;
    }
}

void Scrittore::testo(int tok, TipoCampo suggerito)
{
    const QString v = valoreTesto(m_a.testo(tok));
    if (eData(suggerito)) {
        // An ISO date text against a date column: the column's own form, so that SQLite's
        // text comparison agrees with a date comparison.
        if (const auto d = leggiDataIso(v)) {
            if (sqlite()) w(letteraleData(*d, m_m, suggerito == TipoCampo::DataOra));
            else w(letteraleTesto(v));
            return;
        }
    }
    w(letteraleTesto(v));
}

void Scrittore::data(int e, TipoCampo suggerito)
{
    const Nodo &x = n(e);
    QStringView t = m_a.testo(x.tok);
    t = t.mid(1, t.size() - 2);
    const std::optional<Date> d = x.extra == 1 ? leggiDataIso(t) : leggiDataJet(t);
    if (!d) throw erroreSintassi(QStringLiteral("data non valida: %1").arg(t));
    w(letteraleData(*d, m_m, suggerito == TipoCampo::DataOra));
}

void Scrittore::valoreLetterale(int e, TipoCampo suggerito)
{
    if (n(e).tipo == Nd::Testo) testo(n(e).tok, suggerito);
    else if (n(e).tipo == Nd::Data) data(e, suggerito);
    else valore(e);
}

// The value converted to another type: CCur, CLng, CDbl, CStr ... as Jet converts, Null kept.
void Scrittore::converti(int e, TipoJet da, TipoJet a)
{
    if (da == TipoJet::Null) {
        w("NULL");
        return;
    }
    if (sqlite()) {
        const bool intero = da == TipoJet::Intero || da == TipoJet::Lungo || da == TipoJet::Logico;
        if ((a == TipoJet::Ignoto || a == TipoJet::Doppio) && da == TipoJet::Valuta) {
            w("(CAST(");
            valore(e);
            w(" AS REAL) / 10000)");
            return;
        }
        if (a == TipoJet::Doppio && intero) {
            valore(e, 12);
            return;
        }
        if ((a == TipoJet::Lungo || a == TipoJet::Intero || a == TipoJet::Logico) && intero &&
            !(a == TipoJet::Intero && da == TipoJet::Lungo)) {
            valore(e, 12);
            return;
        }
        if (a == TipoJet::Valuta && intero) {
            w("(");
            valore(e, 12);
            w(" * 10000)");
            return;
        }
        const char tipi[] = {'\'', letteraTipo(da), letteraTipo(a), '\'', 0};
        w("jet_come(");
        w(tipi);
        w(", ");
        valore(e);
        w(")");
        return;
    }
    switch (a) {
    case TipoJet::Ignoto: valore(e); return;
    case TipoJet::Testo: testoPg(e); return;
    case TipoJet::Doppio:
        if (da == TipoJet::Data) {
            w("CAST(EXTRACT(EPOCH FROM (CAST(");
            valore(e);
            w(" AS timestamp) - TIMESTAMP '1899-12-30 00:00:00')) / 86400 AS double precision)");
            return;
        }
        if (da == TipoJet::Testo) {
            // A number typed on the Italian workstation: "1.234,5" (with a comma the points group).
            usaDueVolte(e, TipoJet::Testo, [&](auto v) {
                w("CAST(CASE WHEN strpos(");
                v();
                w(", ',') > 0 THEN replace(replace(");
                v();
                w(", '.', ''), ',', '.') ELSE ");
                v();
                w(" END AS double precision)");
            });
            return;
        }
        w("CAST(");
        valore(e);
        w(" AS double precision)");
        return;
    case TipoJet::Valuta:
        if (da == TipoJet::Doppio || da == TipoJet::Testo || da == TipoJet::Ignoto || da == TipoJet::Data) {
            // Through the 15 digits a double shows, then to four decimals, halves to even.
            arrotondaPariPg(
                [&] {
                    w("CAST(");
                    converti(e, da, TipoJet::Doppio);
                    w(" AS numeric)");
                },
                [&] { w("4"); });
            return;
        }
        w("CAST(");
        valore(e);
        w(" AS numeric)");
        return;
    case TipoJet::Lungo: case TipoJet::Intero: case TipoJet::Logico: {
        const char *destinazione = a == TipoJet::Intero ? " AS smallint)" : " AS integer)";
        if (da == TipoJet::Intero || da == TipoJet::Lungo || da == TipoJet::Logico) {
            w("CAST(");
            valore(e);
            w(destinazione);
            return;
        }
        // Through a double: PostgreSQL rounds its halves to even, as CLng does.
        w("CAST(");
        converti(e, da, TipoJet::Doppio);
        w(destinazione);
        return;
    }
    case TipoJet::Data:
        if (numerico(da)) {
            w("(TIMESTAMP '1899-12-30 00:00:00' + CAST(");
            valore(e);
            w(" AS double precision) * INTERVAL '1 day')");
            return;
        }
        w("CAST(");
        valore(e);
        w(" AS timestamp)");
        return;
    case TipoJet::Null: w("NULL"); return;
    }
}

// PostgreSQL: the text of a value as CStr and "&" give it.
void Scrittore::testoPg(int e)
{
    switch (tipo(e)) {
    case TipoJet::Testo: valore(e); return;
    case TipoJet::Null: w("NULL"); return;
    case TipoJet::Valuta:
        w("replace(CAST(trim_scale(");
        valore(e);
        w(") AS text), '.', ',')");
        return;
    case TipoJet::Doppio:
        // A double as 15 significant digits, as the run-time shows it.
        w("replace(CAST(trim_scale(CAST(");
        valore(e);
        w(" AS numeric)) AS text), '.', ',')");
        return;
    case TipoJet::Data:
        if (formaData(e) == FormaData::SoloData) {
            w("to_char(");
            valore(e);
            w(", 'DD/MM/YYYY')");
            return;
        }
        usaDueVolte(e, TipoJet::Data, [&](auto v) {
            w("to_char(");
            v();
            w(", CASE WHEN CAST(");
            v();
            w(" AS time) = TIME '00:00' THEN 'DD/MM/YYYY' ELSE 'DD/MM/YYYY HH24:MI:SS' END)");
        });
        return;
    default:
        w("CAST(");
        valore(e);
        w(" AS text)");
        return;
    }
}

// PostgreSQL: the value rounded to a number of decimals, halves to even (Round, CCur and the
// product of two amounts; PostgreSQL's own round takes halves away from zero).
void Scrittore::arrotondaPariPg(const std::function<void()> &valoreNumerico, const std::function<void()> &decimali)
{
    const QString k = QString::number(++m_let);
    const QString v = QStringLiteral("jet_rv") + k, p = QStringLiteral("jet_rp") + k;
    w("(SELECT CASE WHEN abs(" + v + " * " + p + " - trunc(" + v + " * " + p + ")) = 0.5 THEN 2 * round(" + v + " * " + p +
      " / 2) / " + p + " ELSE round(" + v + " * " + p + ") / " + p + " END FROM (SELECT ");
    valoreNumerico();
    w(" AS " + v + ", power(CAST(10 AS numeric), ");
    decimali();
    w(") AS " + p + ") AS jet_rl" + k + ")");
}

// PostgreSQL: the value, or Jet's error 94 when it is Null (CStr, CLng ... of a Null).
void Scrittore::nonNulloPg(const std::function<void()> &valore, bool semplice, const char *tipoPg)
{
    usaDueVolteScritto(semplice, valore, [&](auto v) {
        w("COALESCE(");
        v();
        w(", CAST(CAST(CASE WHEN ");
        v();
        w(" IS NULL THEN 'Jet:94' END AS integer) AS ");
        w(tipoPg);
        w("))");
    });
}

void Scrittore::negazione(int e)
{
    const Nodo &x = n(e);
    const TipoJet ta = tipo(x.a), tr = tipo(e);
    if (tr == TipoJet::Null) {
        w("NULL");
        return;
    }
    if (sqlite()) {
        const char tipi[] = {'\'', letteraTipo(ta), letteraTipo(tr), '\'', 0};
        w("jet_neg(");
        w(tipi);
        w(", ");
        valore(x.a);
        w(")");
        return;
    }
    w("(-");
    if (tr == TipoJet::Ignoto || tr == ta) {
        w("(");
        valore(x.a);
        w(")");
    } else {
        valoreCome(x.a, tr);
    }
    w(")");
}

void Scrittore::aritmetica(int e)
{
    const Nodo &x = n(e);
    const TipoJet ta = tipo(x.a), tb = tipo(x.b), tr = tipo(e);
    if (tr == TipoJet::Null) {
        w("NULL");
        return;
    }
    if (sqlite()) {
        const char op[] = {'\'', letteraOperatore(x.op), '\'', ',', ' ', 0};
        const char tipi[] = {'\'', letteraTipo(ta), letteraTipo(tb), letteraTipo(tr), '\'', ',', ' ', 0};
        w("jet_op(");
        w(op);
        w(tipi);
        valore(x.a);
        w(", ");
        valore(x.b);
        w(")");
        return;
    }
    const auto dueLati = [&](TipoJet come, const char *op) {
        w("(");
        valoreCome(x.a, come);
        w(op);
        valoreCome(x.b, come);
        w(")");
    };
    switch (x.op) {
    case Op::Diviso: dueLati(TipoJet::Doppio, " / "); return;
    case Op::Potenza:
        w("power(");
        valoreCome(x.a, TipoJet::Doppio);
        w(", ");
        valoreCome(x.b, TipoJet::Doppio);
        w(")");
        return;
    case Op::DivisioneIntera: dueLati(TipoJet::Lungo, " / "); return;
    case Op::Modulo: dueLati(TipoJet::Lungo, " % "); return;
    default: break;
    }
    const char *op = x.op == Op::Piu ? " + " : x.op == Op::Meno ? " - " : " * ";
    if (tr == TipoJet::Testo) {
        dueLati(TipoJet::Testo, " || ");
        return;
    }
    if (tr == TipoJet::Data || (ta == TipoJet::Data && tb == TipoJet::Data)) {
        const bool dataA = ta == TipoJet::Data;
        const int d = dataA ? x.a : x.b, k = dataA ? x.b : x.a;
        const bool intera = tipo(k) == TipoJet::Intero || tipo(k) == TipoJet::Lungo;
        if (tr == TipoJet::Data && formaData(d) == FormaData::SoloData && intera && (dataA || x.op == Op::Piu)) {
            // A date and whole days: PostgreSQL's own date arithmetic.
            w("(");
            valore(x.a);
            w(op);
            valore(x.b);
            w(")");
            return;
        }
        if (tr == TipoJet::Data) {
            w("(TIMESTAMP '1899-12-30 00:00:00' + (");
            valoreCome(x.a, TipoJet::Doppio);
            w(op);
            valoreCome(x.b, TipoJet::Doppio);
            w(") * INTERVAL '1 day')");
            return;
        }
        dueLati(TipoJet::Doppio, op);
        return;
    }
    if (tr == TipoJet::Valuta && x.op == Op::Per && ta == TipoJet::Valuta && tb == TipoJet::Valuta) {
        // Two amounts multiply to four decimals, halves to even.
        arrotondaPariPg([&] { dueLati(TipoJet::Valuta, " * "); }, [&] { w("4"); });
        return;
    }
    dueLati(tr, op);
}

// Jet's "&": Null counts as "", numbers and dates as their text; Null when every part is Null.
void Scrittore::concatena(int e)
{
    std::vector<int> parti;
    for (int x = e;; x = n(x).a) {
        if (n(x).tipo == Nd::Binario && n(x).op == Op::Concatena) {
            parti.push_back(n(x).b);
            continue;
        }
        parti.push_back(x);
        break;
    }
    std::reverse(parti.begin(), parti.end());
    std::vector<int> utili;
    for (int p : parti)
        if (n(p).tipo != Nd::Null) utili.push_back(p);
    if (utili.empty()) {
        w("NULL");
        return;
    }
    const auto gruppo = [&](auto &&self, size_t da, size_t a) -> void {
        const Profondita p(*this);
        if (a - da > kGruppo) {
            // Groups of groups: the engines take a bounded number of arguments.
            const size_t passo = (a - da + kGruppo - 1) / kGruppo;
            std::vector<std::pair<size_t, size_t>> pezzi;
            for (size_t i = da; i < a; i += passo) pezzi.emplace_back(i, std::min(a, i + passo));
            if (sqlite()) {
                w("jet_cat('");
                w(QString(static_cast<qsizetype>(pezzi.size()), QLatin1Char('T')));
                w("'");
                for (const auto &[i, j] : pezzi) {
                    w(", ");
                    self(self, i, j);
                }
                w(")");
            } else {
                w("(SELECT CASE WHEN num_nonnulls(");
                for (size_t k = 0; k < pezzi.size(); ++k) w(k ? ", jet_c" : "jet_c"), w(QString::number(k));
                w(") = 0 THEN NULL ELSE concat(");
                for (size_t k = 0; k < pezzi.size(); ++k) w(k ? ", jet_c" : "jet_c"), w(QString::number(k));
                w(") END FROM (SELECT ");
                for (size_t k = 0; k < pezzi.size(); ++k) {
                    if (k) w(", ");
                    self(self, pezzi[k].first, pezzi[k].second);
                    w(" AS jet_c");
                    w(QString::number(k));
                }
                w(") AS jet_cc)");
            }
            return;
        }
        if (sqlite()) {
            w("jet_cat('");
            for (size_t i = da; i < a; ++i) {
                const char t[] = {letteraTipo(tipo(utili[i])), 0};
                w(t);
            }
            w("'");
            for (size_t i = da; i < a; ++i) {
                w(", ");
                valore(utili[i]);
            }
            w(")");
            return;
        }
        bool maiNullo = false;
        bool tuttiSemplici = a - da <= 8;
        for (size_t i = da; i < a; ++i) {
            const Nd t = n(utili[i]).tipo;
            if (t == Nd::Testo || t == Nd::Numero || t == Nd::Data) maiNullo = true;
            if (!semplice(utili[i])) tuttiSemplici = false;
        }
        if (maiNullo || tuttiSemplici) {
            if (!maiNullo) {
                w("CASE WHEN ");
                for (size_t i = da; i < a; ++i) {
                    if (i > da) w(" AND ");
                    valore(utili[i]);
                    w(" IS NULL");
                }
                w(" THEN NULL ELSE ");
            }
            w("concat(");
            for (size_t i = da; i < a; ++i) {
                if (i > da) w(", ");
                testoPg(utili[i]);
            }
            w(maiNullo ? ")" : ") END");
            return;
        }
        w("(SELECT CASE WHEN num_nonnulls(");
        for (size_t i = da; i < a; ++i) w(i > da ? ", jet_c" : "jet_c"), w(QString::number(i - da));
        w(") = 0 THEN NULL ELSE concat(");
        for (size_t i = da; i < a; ++i) w(i > da ? ", jet_c" : "jet_c"), w(QString::number(i - da));
        w(") END FROM (SELECT ");
        for (size_t i = da; i < a; ++i) {
            if (i > da) w(", ");
            testoPg(utili[i]);
            w(" AS jet_c");
            w(QString::number(i - da));
        }
        w(") AS jet_cc)");
    };
    gruppo(gruppo, 0, utili.size());
}

// ------------------------------------------------------------------ conditions

void Scrittore::condizione(int e, int serve)
{
    const Profondita p(*this);
    if (!ePredicato(e)) {
        // A value used as a condition: true when not zero, as Jet reads it.
        if (serve > kConfronto) w("(");
        w("(");
        valore(e);
        w(") <> 0");
        if (serve > kConfronto) w(")");
        return;
    }
    const Nodo &x = n(e);
    switch (x.tipo) {
    case Nd::Vero: w(sqlite() ? "1" : "TRUE"); return;
    case Nd::Falso: w(sqlite() ? "0" : "FALSE"); return;
    case Nd::Unario:
        if (serve > kNot) w("(");
        w("NOT (");
        condizione(x.a);
        w(")");
        if (serve > kNot) w(")");
        return;
    case Nd::Binario:
        if (x.op == Op::And || x.op == Op::Or) {
            condizioneCatena(e, x.op, serve);
            return;
        }
        if (x.op == Op::Xor) {
            w("((");
            condizione(x.a);
            w(") <> (");
            condizione(x.b);
            w("))");
            return;
        }
        if (x.op == Op::Like) {
            like(e, serve);
            return;
        }
        confronto(e, serve);
        return;
    case Nd::ENull:
        if (serve > kConfronto) w("(");
        valore(x.a, kConfronto + 1);
        w(x.neg ? " IS NOT NULL" : " IS NULL");
        if (serve > kConfronto) w(")");
        return;
    case Nd::Tra: {
        if (serve > kConfronto) w("(");
        const bool t = testuale(x.a, x.b) || testuale(x.a, x.c);
        const TipoJet comune = tipoConfronto(x.a, x.b) == tipoConfronto(x.a, x.c) ? tipoConfronto(x.a, x.b) : TipoJet::Ignoto;
        lato(x.a, x.b, t, true, kConfronto + 1, comune);
        w(x.neg ? " NOT BETWEEN " : " BETWEEN ");
        lato(x.b, x.a, t, false, kConfronto + 1, comune);
        w(" AND ");
        lato(x.c, x.a, t, false, kConfronto + 1, comune);
        if (serve > kConfronto) w(")");
        return;
    }
    case Nd::InLista: {
        if (serve > kConfronto) w("(");
        bool t = false;
        std::optional<TipoJet> comune;
        for (int v = x.b; v >= 0; v = n(v).seguente) {
            t = t || testuale(x.a, v);
            const TipoJet c = tipoConfronto(x.a, v);
            comune = !comune || *comune == c ? c : TipoJet::Ignoto;
        }
        lato(x.a, x.b, t, true, kConfronto + 1, comune.value_or(TipoJet::Ignoto));
        w(x.neg ? " NOT IN (" : " IN (");
        for (int v = x.b; v >= 0; v = n(v).seguente) {
            if (v != x.b) w(", ");
            lato(v, x.a, t, false, 0, comune.value_or(TipoJet::Ignoto));
        }
        w(")");
        if (serve > kConfronto) w(")");
        return;
    }
    case Nd::InSelect: {
        if (serve > kConfronto) w("(");
        valore(x.a, kConfronto + 1);
        w(x.neg ? " NOT IN (" : " IN (");
        // The subquery's column in the form of the value it is compared with.
        const std::vector<TipoJet> come{tipo(x.a) == TipoJet::Valuta ? TipoJet::Valuta : TipoJet::Ignoto};
        select(x.s, nullptr, &come);
        w(")");
        if (serve > kConfronto) w(")");
        return;
    }
    case Nd::Esiste:
        w("EXISTS (");
        select(x.s, nullptr);
        w(")");
        return;
    case Nd::Funzione: funzione(e, true); return;
    default: throw erroreSintassi(QStringLiteral("condizione non valida"));
    }
}

// An AND or OR chain, which the reader builds left-deep without limit: its terms gathered
// without recursion and written in groups.
void Scrittore::condizioneCatena(int e, Op op, int serve)
{
    std::vector<int> termini;
    int x = e;
    while (n(x).tipo == Nd::Binario && n(x).op == op) {
        termini.push_back(n(x).b);
        x = n(x).a;
    }
    termini.push_back(x);
    std::reverse(termini.begin(), termini.end());
    const int forza = op == Op::And ? kAnd : kOr;
    const char *parola = op == Op::And ? " AND " : " OR ";
    const auto gruppo = [&](auto &&self, size_t da, size_t a, int richiesta) -> void {
        const Profondita p(*this);
        const bool parentesi = richiesta > forza;
        if (parentesi) w("(");
        if (a - da <= kGruppo) {
            for (size_t i = da; i < a; ++i) {
                if (i > da) w(parola);
                condizione(termini[i], forza + 1);
            }
        } else {
            const size_t passo = (a - da + kGruppo - 1) / kGruppo;
            for (size_t i = da; i < a; i += passo) {
                if (i > da) w(parola);
                self(self, i, std::min(a, i + passo), forza + 1);
            }
        }
        if (parentesi) w(")");
    };
    gruppo(gruppo, 0, termini.size(), serve);
}

// The type both sides of a comparison are brought to.
TipoJet Scrittore::tipoConfronto(int a, int b)
{
    const TipoJet ta = tipo(a), tb = tipo(b);
    if (numerico(ta) && numerico(tb)) {
        if (ta == TipoJet::Doppio || tb == TipoJet::Doppio) return TipoJet::Doppio;
        if (ta == TipoJet::Valuta || tb == TipoJet::Valuta) return TipoJet::Valuta;
        return TipoJet::Lungo;
    }
    if (ta == TipoJet::Data || tb == TipoJet::Data) return TipoJet::Data;
    return TipoJet::Ignoto;
}

void Scrittore::confronto(int e, int serve)
{
    const Nodo &x = n(e);
    const bool t = testuale(x.a, x.b);
    const TipoJet comune = tipoConfronto(x.a, x.b);
    if (serve > kConfronto) w("(");
    if (!t && comune == TipoJet::Data && sqlite()) {
        datePerConfronto(x.a, x.b, testoConfronto(x.op));
    } else {
        lato(x.a, x.b, t, true, kConfronto + 1, comune);
        w(testoConfronto(x.op));
        lato(x.b, x.a, t, false, kConfronto + 1, comune);
    }
    if (serve > kConfronto) w(")");
}

// SQLite keeps dates as ISO texts, with or without the time: two dates compare as texts when
// both are held alike (a literal takes the other side's form), otherwise as day numbers.
void Scrittore::datePerConfronto(int a, int b, const char *op)
{
    const auto letterale = [&](int e) { return n(e).tipo == Nd::Testo || n(e).tipo == Nd::Data; };
    const FormaData fa = formaData(a), fb = formaData(b);
    const auto lato = [&](int e, FormaData altra) {
        if (letterale(e)) valoreLetterale(e, altra == FormaData::DataOra ? TipoCampo::DataOra : TipoCampo::Data);
        else valoreCome(e, TipoJet::Data, kConfronto + 1);
    };
    if ((fa != FormaData::Ignota && (fa == fb || letterale(b))) || (fb != FormaData::Ignota && letterale(a))) {
        lato(a, fb == FormaData::Ignota ? fa : fb);
        w(op);
        lato(b, fa == FormaData::Ignota ? fb : fa);
        return;
    }
    w("julianday(");
    lato(a, FormaData::DataOra);
    w(")");
    w(op);
    w("julianday(");
    lato(b, FormaData::DataOra);
    w(")");
}

// One operand of a comparison. Text columns are declared case-insensitive already; other
// text expressions are made so here. Numbers meet in a common form (SQLite's currency is in
// ten-thousandths); a literal takes the form of the column it is compared with.
void Scrittore::lato(int e, int altro, bool testoT, bool sinistro, int serve, TipoJet comune)
{
    const auto colonnaTesto = [&](int k) {
        const ColonnaCatalogo *c = colonnaNota(k);
        return c && eTesto(c->tipo);
    };
    const ColonnaCatalogo *colAltro = altro >= 0 ? colonnaNota(altro) : nullptr;
    const TipoCampo suggerito = colAltro ? colAltro->tipo : TipoCampo::Sconosciuto;
    if (testoT) {
        if (!sqlite()) {
            const bool letterale = n(e).tipo == Nd::Testo;
            const bool altroLetterale = altro >= 0 && n(altro).tipo == Nd::Testo;
            if (!colonnaTesto(e) && (!letterale || (sinistro && altroLetterale))) {
                w("CAST(");
                valoreCome(e, TipoJet::Testo);
                w(" AS citext)");
                return;
            }
        } else if (sinistro && !colonnaTesto(e) && (altro < 0 || !colonnaTesto(altro))) {
            if (tipo(e) == TipoJet::Testo) valore(e, 12);
            else valoreCome(e, TipoJet::Testo, 12);
            w(" COLLATE NOCASE");
            return;
        }
        if (tipo(e) == TipoJet::Testo || tipo(e) == TipoJet::Ignoto) valore(e, serve);
        else valoreCome(e, TipoJet::Testo, serve);
        return;
    }
    if (n(e).tipo == Nd::Testo || n(e).tipo == Nd::Data) {
        valoreLetterale(e, suggerito);
        return;
    }
    if (comune == TipoJet::Lungo || comune == TipoJet::Data || (!sqlite() && numerico(comune))) {
        valore(e, serve);
        return;
    }
    valoreCome(e, comune, serve);
}

// Jet's Like: "*", "?", "#", [lists], [!lists] and ranges, ignoring letter case, on a pattern
// that may be any text expression.
void Scrittore::like(int e, int serve)
{
    const Nodo &x = n(e);
    if (sqlite()) {
        if (x.neg) {
            if (serve > kNot) w("(");
            w("NOT ");
        }
        w("jet_like(");
        valoreCome(x.a, TipoJet::Testo);
        w(", ");
        valoreCome(x.b, TipoJet::Testo);
        w(")");
        if (x.neg && serve > kNot) w(")");
        return;
    }
    if (serve > kConfronto || x.neg) w("(");
    if (x.neg) w("NOT (");
    if (tipo(x.a) == TipoJet::Testo) valore(x.a, 12);
    else valoreCome(x.a, TipoJet::Testo, 12);
    w(" ~* ");
    if (n(x.b).tipo == Nd::Testo) {
        w(letteraleTesto(regexDaLike(valoreTesto(m_a.testo(n(x.b).tok)))));
    } else {
        // The pattern read piece by piece: a [list] or one character.
        w("(SELECT '^' || COALESCE(string_agg(CASE WHEN jet_t = '*' THEN '.*' WHEN jet_t = '?' THEN '.' "
          "WHEN jet_t = '#' THEN '[0-9]' WHEN length(jet_t) > 2 AND left(jet_t, 1) = '[' THEN '[' || "
          "CASE WHEN substr(jet_t, 2, 1) = '!' AND length(jet_t) > 3 THEN '^' || replace(substr(jet_t, 3, length(jet_t) - 3), "
          "'\\', '\\\\') ELSE replace(substr(jet_t, 2, length(jet_t) - 2), '\\', '\\\\') END || ']' "
          "ELSE regexp_replace(jet_t, '([^[:alnum:]_ ])', '\\\\\\1', 'g') END, '' ORDER BY jet_o), '') || '$' "
          "FROM regexp_matches(");
        valoreCome(x.b, TipoJet::Testo);
        w(", '\\[[^]]+\\]|.', 'g') WITH ORDINALITY AS jet_m(jet_r, jet_o), LATERAL (SELECT jet_r[1] AS jet_t) AS jet_u)");
    }
    if (x.neg) w(")");
    if (serve > kConfronto || x.neg) w(")");
}

// The value written into a column of the catalogue (UPDATE, INSERT): in the column's type.
void Scrittore::assegnato(int e, const ColonnaCatalogo *col)
{
    if (!col) {
        valoreCome(e, TipoJet::Ignoto);
        return;
    }
    const Nd t = n(e).tipo;
    if (t == Nd::Testo || t == Nd::Data) {
        valoreLetterale(e, col->tipo);
        return;
    }
    const TipoJet k = tipoDaCampo(col->tipo);
    if (k == TipoJet::Ignoto) {
        valoreCome(e, TipoJet::Ignoto);
        return;
    }
    if (k == TipoJet::Data && sqlite() && tipo(e) != TipoJet::Null) {
        const FormaData voluta = col->tipo == TipoCampo::Data ? FormaData::SoloData : FormaData::DataOra;
        if (tipo(e) == TipoJet::Data && formaData(e) == voluta) {
            valore(e);
            return;
        }
        w(voluta == FormaData::SoloData ? "date(" : "strftime('%Y-%m-%d %H:%M:%S', ");
        valoreCome(e, TipoJet::Data);
        w(")");
        return;
    }
    valoreCome(e, k);
}

} // namespace scrittura
