#include "traduttoresql.h"

#include "errori.h"
#include "letterali.h"

#include <optional>

namespace {

enum class Genere : uint8_t { Ignoto, Testo, Numero, Data, Logico };

struct Fonte {
    QStringView esposto; // alias, or the table name as written
    QStringView tabella; // table name as written ("" for a derived table)
    std::shared_ptr<const TabellaCatalogo> cat;
    QString espostoTesto; // `esposto` as a text of its own, made once
};

struct Risolta {
    const Fonte *fonte = nullptr;
    int colonna = -1;
    const ColonnaCatalogo *col() const
    {
        return fonte && fonte->cat && colonna >= 0 ? &fonte->cat->colonne()[static_cast<size_t>(colonna)] : nullptr;
    }
};

bool eConfronto(Op o)
{
    switch (o) {
    case Op::Uguale: case Op::Diverso: case Op::Minore: case Op::Maggiore: case Op::MinoreUguale:
    case Op::MaggioreUguale: case Op::Like:
        return true;
    default:
        return false;
    }
}

const char *testoOp(Op o)
{
    switch (o) {
    case Op::Or: return " OR ";
    case Op::And: return " AND ";
    case Op::Uguale: return " = ";
    case Op::Diverso: return " <> ";
    case Op::Minore: return " < ";
    case Op::Maggiore: return " > ";
    case Op::MinoreUguale: return " <= ";
    case Op::MaggioreUguale: return " >= ";
    case Op::Piu: return " + ";
    case Op::Meno: return " - ";
    case Op::Per: return " * ";
    case Op::Diviso: return " / ";
    default: return " ";
    }
}

// Binding strength of an operator as both Jet and the engines agree on it; the operators whose
// order differs between them are always written inside parentheses (strength 12).
int forza(const Nodo &x)
{
    switch (x.tipo) {
    case Nd::Binario:
        switch (x.op) {
        case Op::Or: case Op::Xor: return 1;
        case Op::And: return 2;
        case Op::Piu: case Op::Meno: return 6;
        case Op::Per: case Op::Diviso: return 9;
        case Op::Concatena: case Op::Modulo: case Op::DivisioneIntera: case Op::Potenza: return 12;
        default: return 4; // comparisons, LIKE
        }
    case Nd::Unario: return x.op == Op::Not ? 3 : 11;
    case Nd::ENull: case Nd::Tra: case Nd::InLista: case Nd::InSelect: return 4;
    default: return 12;
    }
}

// The statement being written: pieces copied straight into a buffer that grows rarely (a
// statement is written from hundreds of small pieces).
class Uscita {
public:
    void riserva(qsizetype n)
    {
        m_testo.resize(n);
        m_dati = reinterpret_cast<char16_t *>(m_testo.data());
    }
    void aggiungi(QStringView v)
    {
        spazio(v.size());
        const char16_t *p = v.utf16();
        for (qsizetype i = 0; i < v.size(); ++i) m_dati[m_lung + i] = p[i];
        m_lung += v.size();
    }
    void aggiungi(const char *latino)
    {
        for (; *latino; ++latino) {
            spazio(1);
            m_dati[m_lung++] = static_cast<unsigned char>(*latino);
        }
    }
    QString prendi()
    {
        m_testo.truncate(m_lung);
        m_dati = nullptr;
        m_lung = 0;
        return std::move(m_testo);
    }

private:
    void spazio(qsizetype n)
    {
        if (m_lung + n > m_testo.size()) riserva(std::max<qsizetype>(m_testo.size() * 2, m_lung + n + 64));
    }
    QString m_testo;
    char16_t *m_dati = nullptr;
    qsizetype m_lung = 0;
};

class Scrittore {
public:
    Scrittore(const Albero &a, MotoreDb m, Catalogo &c) : m_a(a), m_m(m), m_c(c)
    {
        m_risolte.resize(a.nodi.size());
        m_fonti.resize(a.select.size());
        m_fontiPronte.assign(a.select.size(), false);
        m_o.riserva(a.sql.size() + a.sql.size() / 2 + 64);
    }

    Traduzione traduci()
    {
        Traduzione t;
        const Istruzione &is = m_a.istruzione;
        t.tipo = is.tipo;
        switch (is.tipo) {
        case TipoIstruzione::Select:
            select(is.select, nullptr);
            colonneRisultato(is.select, t);
            break;
        case TipoIstruzione::Insert: inserisci(); break;
        case TipoIstruzione::Update: aggiorna(); break;
        case TipoIstruzione::Delete: elimina(); break;
        case TipoIstruzione::Altro: break;
        }
        t.sql = m_o.prendi();
        return t;
    }

private:
    // ---------------------------------------------------------------- names
    const Nodo &n(int i) const { return m_a.n(i); }

    const std::vector<Fonte> &fonti(int si)
    {
        const size_t k = static_cast<size_t>(si);
        if (!m_fontiPronte[k]) {
            m_fontiPronte[k] = true;
            for (int t = m_a.select[k].da; t >= 0; t = n(t).seguente)
                raccogli(t, m_fonti[k]);
        }
        return m_fonti[k];
    }

    void raccogli(int t, std::vector<Fonte> &out)
    {
        const Nodo &x = n(t);
        if (x.tipo == Nd::Unione) {
            raccogli(x.a, out);
            raccogli(x.b, out);
        } else if (x.tipo == Nd::Tabella) {
            Fonte f;
            f.tabella = m_a.nome(x.tok);
            f.esposto = x.tok2 >= 0 ? m_a.nome(x.tok2) : f.tabella;
            f.cat = m_c.tabella(f.tabella);
            f.espostoTesto = f.esposto.toString();
            out.push_back(std::move(f));
        } else if (x.tipo == Nd::Derivata) {
            Fonte f;
            f.esposto = m_a.nome(x.tok2);
            f.espostoTesto = f.esposto.toString();
            out.push_back(std::move(f));
        }
    }

    // A column's source, worked out once per node (a node belongs to one SELECT).
    Risolta risolvi(int c, int si)
    {
        std::optional<Risolta> &r = m_risolte[static_cast<size_t>(c)];
        if (!r) r = cerca(c, si);
        return *r;
    }

    Risolta cerca(int c, int si)
    {
        const Nodo &x = n(c);
        const QStringView nome = m_a.nome(x.tok);
        const QStringView qual = x.tok2 >= 0 ? m_a.nome(x.tok2) : QStringView();
        for (int s = si; s >= 0; s = m_a.select[static_cast<size_t>(s)].padre) {
            for (const Fonte &f : fonti(s)) {
                if (!qual.isEmpty()) {
                    if (!stessoNome(f.esposto, qual)) continue;
                    return {&f, f.cat ? f.cat->indice(nome) : -1};
                }
                if (f.cat) {
                    const int i = f.cat->indice(nome);
                    if (i >= 0) return {&f, i};
                }
            }
        }
        return {};
    }

    TipoCampo tipoColonna(int c, int si)
    {
        const ColonnaCatalogo *k = risolvi(c, si).col();
        return k ? k->tipo : TipoCampo::Sconosciuto;
    }

    // A plain column of a known table.
    const ColonnaCatalogo *colonnaNota(int e, int si)
    {
        return n(e).tipo == Nd::Colonna ? risolvi(e, si).col() : nullptr;
    }

    static Genere genereTipo(TipoCampo t)
    {
        if (eTesto(t)) return Genere::Testo;
        if (eNumero(t)) return Genere::Numero;
        if (eData(t)) return Genere::Data;
        return Genere::Ignoto;
    }

    static bool nomeE(QStringView nome, const char *f) { return nome.compare(QLatin1String(f), Qt::CaseInsensitive) == 0; }

    int argomento(int f, int i) const
    {
        int a = n(f).a;
        while (a >= 0 && i-- > 0) a = n(a).seguente;
        return a;
    }

    int contaArgomenti(int f) const
    {
        int k = 0;
        for (int a = n(f).a; a >= 0; a = n(a).seguente) ++k;
        return k;
    }

    Genere genere(int e, int si)
    {
        const Nodo &x = n(e);
        switch (x.tipo) {
        case Nd::Testo: return Genere::Testo;
        case Nd::Numero: case Nd::Vero: case Nd::Falso: return Genere::Numero;
        case Nd::Data: return Genere::Data;
        case Nd::Colonna: return genereTipo(tipoColonna(e, si));
        case Nd::Binario:
            if (x.op == Op::Concatena) return Genere::Testo;
            if (eConfronto(x.op) || x.op == Op::And || x.op == Op::Or || x.op == Op::Xor) return Genere::Logico;
            return Genere::Numero;
        case Nd::Unario: return x.op == Op::Not ? Genere::Logico : Genere::Numero;
        case Nd::ENull: case Nd::Tra: case Nd::InLista: case Nd::InSelect: case Nd::Esiste: return Genere::Logico;
        case Nd::SottoSelect: {
            const int v = m_a.select[static_cast<size_t>(x.s)].voci;
            return v >= 0 && n(v).a >= 0 && n(n(v).a).tipo != Nd::Stella ? genere(n(v).a, x.s) : Genere::Ignoto;
        }
        case Nd::Funzione: {
            const QStringView f = m_a.testo(x.tok);
            if (nomeE(f, "iif")) {
                const int b = argomento(e, 1);
                const Genere g = b >= 0 ? genere(b, si) : Genere::Ignoto;
                if (g != Genere::Ignoto) return g;
                const int c = argomento(e, 2);
                return c >= 0 ? genere(c, si) : Genere::Ignoto;
            }
            if (nomeE(f, "isnull")) return Genere::Logico;
            static const char *const testi[] = {"ucase", "lcase", "upper", "lower", "left", "right", "mid", "trim",
                                                "ltrim", "rtrim", "cstr", "format", "substr", "replace"};
            for (const char *t : testi)
                if (nomeE(f, t)) return Genere::Testo;
            static const char *const date[] = {"date", "now", "cdate", "dateserial"};
            for (const char *t : date)
                if (nomeE(f, t)) return Genere::Data;
            static const char *const primo[] = {"min", "max", "nz", "coalesce", "first", "last"};
            for (const char *t : primo)
                if (nomeE(f, t)) return x.a >= 0 ? genere(x.a, si) : Genere::Ignoto;
            return Genere::Numero;
        }
        default: return Genere::Ignoto;
        }
    }

    bool ePredicato(int e)
    {
        const Nodo &x = n(e);
        switch (x.tipo) {
        case Nd::Binario: return eConfronto(x.op) || x.op == Op::And || x.op == Op::Or || x.op == Op::Xor;
        case Nd::Unario: return x.op == Op::Not;
        case Nd::ENull: case Nd::Tra: case Nd::InLista: case Nd::InSelect: case Nd::Esiste: case Nd::Vero: case Nd::Falso:
            return true;
        case Nd::Funzione: {
            const QStringView f = m_a.testo(x.tok);
            if (nomeE(f, "isnull") && contaArgomenti(e) == 1) return true;
            if (nomeE(f, "iif") && contaArgomenti(e) == 3)
                return ePredicato(argomento(e, 1)) && ePredicato(argomento(e, 2));
            return false;
        }
        default: return false;
        }
    }

    // ---------------------------------------------------------------- output
    void w(const char *s) { m_o.aggiungi(s); }
    void w(QStringView s) { m_o.aggiungi(s); }
    void w(const QString &s) { m_o.aggiungi(QStringView(s)); }

    void nomeQualificato(QStringView qual, QStringView nome)
    {
        if (!qual.isEmpty()) {
            if (!m_qualDa.isEmpty() && stessoNome(qual, m_qualDa)) w(m_qualA);
            else w(qual);
            w(".");
        }
        w(nome);
    }

    // ---------------------------------------------------------------- expressions
    // `logico`: the place wants a condition (WHERE, ON, AND/OR operands, IIf's test).
    void espr(int e, int si, bool logico = false, int serve = 0, TipoCampo suggerito = TipoCampo::Sconosciuto)
    {
        if (logico && !ePredicato(e)) {
            // A value used as a condition: true when not zero, as Jet reads it.
            w("(");
            espr(e, si, false, 0);
            w(") <> 0");
            return;
        }
        if (!logico && ePredicato(e) && n(e).tipo != Nd::Vero && n(e).tipo != Nd::Falso) {
            // A condition used as a value gives -1 or 0 (Null stays Null).
            w("CASE WHEN ");
            espr(e, si, true);
            w(" THEN -1 WHEN NOT (");
            espr(e, si, true);
            w(") THEN 0 END");
            return;
        }
        const Nodo &x = n(e);
        const bool parentesi = forza(x) < serve;
        if (parentesi) w("(");
        switch (x.tipo) {
        case Nd::Null: w("NULL"); break;
        case Nd::Vero:
            if (logico) w(m_m == MotoreDb::SQLite ? "1" : "TRUE");
            else w("-1");
            break;
        case Nd::Falso:
            if (logico) w(m_m == MotoreDb::SQLite ? "0" : "FALSE");
            else w("0");
            break;
        case Nd::Numero: w(m_a.testo(x.tok)); break;
        case Nd::Testo: testo(x.tok, suggerito); break;
        case Nd::Data: data(e, suggerito); break;
        case Nd::Colonna: nomeQualificato(x.tok2 >= 0 ? m_a.nome(x.tok2) : QStringView(), m_a.nome(x.tok)); break;
        case Nd::Stella:
            if (x.tok2 >= 0) {
                nomeQualificato(m_a.nome(x.tok2), QStringView());
                w("*");
            } else {
                w("*");
            }
            break;
        case Nd::Unario:
            if (x.op == Op::Not) {
                w("NOT (");
                espr(x.a, si, true);
                w(")");
            } else {
                w(x.op == Op::Meno ? "-" : "+");
                espr(x.a, si, false, 12);
            }
            break;
        case Nd::Binario: binario(e, si); break;
        case Nd::ENull:
            espr(x.a, si, false, 5);
            w(x.neg ? " IS NOT NULL" : " IS NULL");
            break;
        case Nd::Tra: {
            const bool t = testuale(x.a, x.b, si) || testuale(x.a, x.c, si);
            const TipoCampo tc = tipoSePiano(x.a, si);
            lato(x.a, si, t, true, x.b, 5);
            w(x.neg ? " NOT BETWEEN " : " BETWEEN ");
            espr(x.b, si, false, 5, tc);
            w(" AND ");
            espr(x.c, si, false, 5, tc);
            break;
        }
        case Nd::InLista: {
            bool t = false;
            for (int v = x.b; v >= 0; v = n(v).seguente) t = t || testuale(x.a, v, si);
            const TipoCampo tc = tipoSePiano(x.a, si);
            lato(x.a, si, t, true, x.b, 5);
            w(x.neg ? " NOT IN (" : " IN (");
            for (int v = x.b; v >= 0; v = n(v).seguente) {
                if (v != x.b) w(", ");
                espr(v, si, false, 0, tc);
            }
            w(")");
            break;
        }
        case Nd::InSelect:
            espr(x.a, si, false, 5);
            w(x.neg ? " NOT IN (" : " IN (");
            select(x.s, nullptr);
            w(")");
            break;
        case Nd::Esiste:
            w("EXISTS (");
            select(x.s, nullptr);
            w(")");
            break;
        case Nd::SottoSelect:
            w("(");
            select(x.s, nullptr);
            w(")");
            break;
        case Nd::Funzione: funzione(e, si, logico); break;
        default: throw erroreSintassi(QStringLiteral("espressione non valida"));
        }
        if (parentesi) w(")");
    }

    // The column type when the expression is a plain column of a known table.
    TipoCampo tipoSePiano(int e, int si)
    {
        const ColonnaCatalogo *c = colonnaNota(e, si);
        return c ? c->tipo : TipoCampo::Sconosciuto;
    }

    // Whether a comparison of the two operands compares texts (Jet ignores letter case there).
    bool testuale(int a, int b, int si)
    {
        const Genere ga = genere(a, si), gb = genere(b, si);
        if (ga == Genere::Numero || gb == Genere::Numero || ga == Genere::Data || gb == Genere::Data)
            return false;
        return ga == Genere::Testo || gb == Genere::Testo;
    }

    bool colonnaTesto(int e, int si)
    {
        const ColonnaCatalogo *c = colonnaNota(e, si);
        return c && eTesto(c->tipo);
    }

    // One operand of a text comparison. Columns are declared case-insensitive already; other
    // text expressions are made so here.
    void lato(int e, int si, bool testo, bool sinistro, int altro, int serve, TipoCampo suggerito = TipoCampo::Sconosciuto)
    {
        if (testo && m_m == MotoreDb::PostgreSQL) {
            const bool letterale = n(e).tipo == Nd::Testo;
            const bool altroLetterale = altro >= 0 && n(altro).tipo == Nd::Testo;
            if (!colonnaTesto(e, si) && (!letterale || (sinistro && altroLetterale))) {
                w("CAST(");
                espr(e, si, false, 0, suggerito);
                w(" AS citext)");
                return;
            }
        }
        if (testo && m_m == MotoreDb::SQLite && sinistro && !colonnaTesto(e, si) && (altro < 0 || !colonnaTesto(altro, si))) {
            espr(e, si, false, 12, suggerito);
            w(" COLLATE NOCASE");
            return;
        }
        espr(e, si, false, serve, suggerito);
    }

    void binario(int e, int si)
    {
        const Nodo &x = n(e);
        const int f = forza(x);
        switch (x.op) {
        case Op::And: case Op::Or:
            espr(x.a, si, true, f);
            w(testoOp(x.op));
            espr(x.b, si, true, f);
            return;
        case Op::Xor: forma("(", x.a, ") <> (", x.b, ")", si, true); return;
        case Op::Concatena: concatena(e, si); return;
        case Op::Like: like(e, si); return;
        case Op::Modulo: forma("(", x.a, " % ", x.b, ")", si, false, 12); return;
        case Op::DivisioneIntera: forma("(CAST(", x.a, " AS INTEGER) / CAST(", x.b, " AS INTEGER))", si); return;
        case Op::Potenza: forma("power(", x.a, ", ", x.b, ")", si); return;
        case Op::Diviso:
            // Jet divides as floating point, also between integers.
            w("CAST(");
            espr(x.a, si, false, 0);
            w(m_m == MotoreDb::SQLite ? " AS REAL) / " : " AS double precision) / ");
            espr(x.b, si, false, f + 1);
            return;
        default: break;
        }
        if (eConfronto(x.op)) {
            const bool t = testuale(x.a, x.b, si);
            const TipoCampo ta = tipoSePiano(x.a, si), tb = tipoSePiano(x.b, si);
            lato(x.a, si, t, true, x.b, f + 1, tb);
            w(testoOp(x.op));
            lato(x.b, si, t, false, x.a, f + 1, ta);
            return;
        }
        const bool associativo = x.op == Op::Piu || x.op == Op::Per;
        espr(x.a, si, false, f);
        w(testoOp(x.op));
        espr(x.b, si, false, associativo ? f : f + 1);
    }

    // An operator written as a function or between parentheses of its own: the two operands
    // placed between the fixed pieces.
    void forma(const char *apre, int a, const char *mezzo, int b, const char *chiude, int si, bool logico = false, int serve = 0)
    {
        w(apre);
        espr(a, si, logico, serve);
        w(mezzo);
        espr(b, si, logico, serve);
        w(chiude);
    }

    void operandiConcatena(int e, std::vector<int> &out)
    {
        const Nodo &x = n(e);
        if (x.tipo == Nd::Binario && x.op == Op::Concatena) {
            operandiConcatena(x.a, out);
            operandiConcatena(x.b, out);
        } else {
            out.push_back(e);
        }
    }

    // Jet's "&": Null counts as "", numbers become text.
    void concatena(int e, int si)
    {
        std::vector<int> parti;
        operandiConcatena(e, parti);
        if (m_m == MotoreDb::PostgreSQL) {
            w("concat(");
            for (size_t i = 0; i < parti.size(); ++i) {
                if (i) w(", ");
                espr(parti[i], si, false, 0);
            }
            w(")");
            return;
        }
        w("(");
        for (size_t i = 0; i < parti.size(); ++i) {
            if (i) w(" || ");
            const Nd t = n(parti[i]).tipo;
            if (t == Nd::Testo || t == Nd::Numero) {
                espr(parti[i], si, false, 12);
            } else {
                w("COALESCE(");
                espr(parti[i], si, false, 0);
                w(", '')");
            }
        }
        w(")");
    }

    // Jet's Like: "*" any text, "?" one character, "[x]" the character x itself; the engines'
    // own wildcards "%" and "_" are plain characters in Jet and are escaped.
    void like(int e, int si)
    {
        const Nodo &x = n(e);
        if (n(x.b).tipo != Nd::Testo)
            throw erroreSintassi(QStringLiteral("il modello di Like deve essere un testo"));
        const QString modello = valoreTesto(m_a.testo(n(x.b).tok));
        QString sql;
        sql.reserve(modello.size() + 4);
        const auto letterale = [&](QChar c) {
            if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\')) sql.append(QLatin1Char('\\'));
            sql.append(c);
        };
        for (qsizetype i = 0; i < modello.size(); ++i) {
            const QChar c = modello[i];
            if (c == QLatin1Char('*')) sql.append(QLatin1Char('%'));
            else if (c == QLatin1Char('?')) sql.append(QLatin1Char('_'));
            else if (c == QLatin1Char('#')) throw erroreSintassi(QStringLiteral("il carattere jolly # non è gestito in Like"));
            else if (c == QLatin1Char('[')) {
                if (i + 2 < modello.size() && modello[i + 2] == QLatin1Char(']') && modello[i + 1] != QLatin1Char('!')) {
                    letterale(modello[i + 1]);
                    i += 2;
                } else {
                    throw erroreSintassi(QStringLiteral("gli intervalli di caratteri non sono gestiti in Like"));
                }
            } else {
                letterale(c);
            }
        }
        // SQLite's LIKE ignores letter case already; PostgreSQL's ILIKE does.
        espr(x.a, si, false, 5);
        if (m_m == MotoreDb::SQLite) w(x.neg ? " NOT LIKE " : " LIKE ");
        else w(x.neg ? " NOT ILIKE " : " ILIKE ");
        w(letteraleTesto(sql));
        w(" ESCAPE '\\'");
    }

    void funzione(int e, int si, bool logico)
    {
        const Nodo &x = n(e);
        const QStringView f = m_a.testo(x.tok);
        const int nArg = contaArgomenti(e);
        const auto arg = [&](int i) { return argomento(e, i); };
        if (nomeE(f, "iif") && nArg == 3) {
            w("CASE WHEN ");
            espr(arg(0), si, true);
            w(" THEN ");
            espr(arg(1), si, logico);
            w(" ELSE ");
            espr(arg(2), si, logico);
            w(" END");
            return;
        }
        if (nomeE(f, "isnull") && nArg == 1) {
            espr(arg(0), si, false, 5);
            w(" IS NULL");
            return;
        }
        if (nomeE(f, "nz") && (nArg == 1 || nArg == 2)) {
            w("COALESCE(");
            espr(arg(0), si);
            w(", ");
            if (nArg == 2) espr(arg(1), si);
            else w(genere(arg(0), si) == Genere::Testo ? "''" : "0");
            w(")");
            return;
        }
        if (nomeE(f, "len") && nArg == 1) {
            w("length(");
            if (m_m == MotoreDb::PostgreSQL && genere(arg(0), si) != Genere::Testo) {
                w("CAST(");
                espr(arg(0), si);
                w(" AS text)");
            } else {
                espr(arg(0), si);
            }
            w(")");
            return;
        }
        if ((nomeE(f, "left") || nomeE(f, "mid")) && nArg >= 2) {
            w("substr(");
            espr(arg(0), si);
            if (nomeE(f, "left")) {
                w(", 1, ");
                espr(arg(1), si);
            } else {
                w(", ");
                espr(arg(1), si);
                if (nArg == 3) {
                    w(", ");
                    espr(arg(2), si);
                }
            }
            w(")");
            return;
        }
        if (nomeE(f, "right") && nArg == 2 && m_m == MotoreDb::SQLite) {
            w("substr(");
            espr(arg(0), si);
            w(", -(");
            espr(arg(1), si);
            w("))");
            return;
        }
        if (nomeE(f, "cstr") && nArg == 1) {
            w("CAST(");
            espr(arg(0), si);
            w(" AS TEXT)");
            return;
        }
        if ((nomeE(f, "date") || nomeE(f, "now")) && nArg == 0) {
            if (m_m == MotoreDb::SQLite)
                w(nomeE(f, "date") ? "date('now','localtime')" : "datetime('now','localtime')");
            else
                w(nomeE(f, "date") ? "CURRENT_DATE" : "LOCALTIMESTAMP(0)");
            return;
        }
        if (nomeE(f, "ucase")) w("upper");
        else if (nomeE(f, "lcase")) w("lower");
        else w(f);
        w("(");
        if (x.extra == 1) w("*");
        if (x.neg) w("DISTINCT ");
        for (int a = x.a; a >= 0; a = n(a).seguente) {
            if (a != x.a) w(", ");
            espr(a, si);
        }
        w(")");
    }

    void testo(int tok, TipoCampo suggerito)
    {
        const QString v = valoreTesto(m_a.testo(tok));
        if (eData(suggerito)) {
            // An ISO date text against a date column: the column's own form, so that SQLite's
            // text comparison agrees with a date comparison.
            if (const auto d = leggiDataIso(v)) {
                if (m_m == MotoreDb::SQLite) w(letteraleData(*d, m_m, suggerito == TipoCampo::DataOra));
                else w(letteraleTesto(v));
                return;
            }
        }
        w(letteraleTesto(v));
    }

    void data(int e, TipoCampo suggerito)
    {
        const Nodo &x = n(e);
        QStringView t = m_a.testo(x.tok);
        t = t.mid(1, t.size() - 2);
        const std::optional<Date> d = x.extra == 1 ? leggiDataIso(t) : leggiDataJet(t);
        if (!d) throw erroreSintassi(QStringLiteral("data non valida: %1").arg(t));
        w(letteraleData(*d, m_m, suggerito == TipoCampo::DataOra));
    }

    // ---------------------------------------------------------------- SELECT
    void select(int si, const std::vector<TipoCampo> *suggeriti)
    {
        const SelectAlbero &s = m_a.select[static_cast<size_t>(si)];
        w("SELECT ");
        if (s.distinta) w("DISTINCT ");
        size_t k = 0;
        for (int v = s.voci; v >= 0; v = n(v).seguente, ++k) {
            if (v != s.voci) w(", ");
            const Nodo &voce = n(v);
            const TipoCampo sug = suggeriti && k < suggeriti->size() ? (*suggeriti)[k] : TipoCampo::Sconosciuto;
            espr(voce.a, si, false, 0, sug);
            if (voce.tok2 >= 0) {
                w(" AS ");
                QStringView alias = m_a.nome(voce.tok2);
                if (m_a.token[static_cast<size_t>(voce.tok2)].tipo == Tk::Testo) alias = alias.mid(1, alias.size() - 2);
                w(alias);
            }
        }
        elenco(" FROM ", s.da, [&](int t) { tabella(t, si, false); });
        condizione(" WHERE ", s.dove, si);
        elenco(" GROUP BY ", s.gruppo, [&](int g) { espr(g, si); });
        condizione(" HAVING ", s.avendo, si);
        elenco(" ORDER BY ", s.ordine, [&](int o) { ordine(o, si); });
        if (s.top >= 0) {
            w(" LIMIT ");
            w(m_a.testo(s.top));
        }
        if (s.unione >= 0) {
            w(s.unioneTutti ? " UNION ALL " : " UNION ");
            select(s.unione, suggeriti);
        }
    }

    // A list of the tree written after its keyword, ", " between the elements; nothing for none.
    template <typename Scrivi>
    void elenco(const char *parola, int primo, Scrivi scrivi)
    {
        if (primo < 0) return;
        w(parola);
        for (int x = primo; x >= 0; x = n(x).seguente) {
            if (x != primo) w(", ");
            scrivi(x);
        }
    }

    void condizione(const char *parola, int e, int si)
    {
        if (e < 0) return;
        w(parola);
        espr(e, si, true);
    }

    void ordine(int o, int si)
    {
        const Nodo &x = n(o);
        const ColonnaCatalogo *c = colonnaNota(x.a, si);
        if (!c && genere(x.a, si) == Genere::Testo && n(x.a).tipo != Nd::Numero) {
            if (m_m == MotoreDb::SQLite) {
                espr(x.a, si, false, 12);
                w(" COLLATE NOCASE");
            } else {
                w("CAST(");
                espr(x.a, si);
                w(" AS citext)");
            }
        } else {
            espr(x.a, si);
        }
        if (x.neg) w(" DESC");
        // Jet sorts Null lowest; PostgreSQL by default highest.
        if (m_m == MotoreDb::PostgreSQL && !(c && c->nonNullo) && n(x.a).tipo != Nd::Numero)
            w(x.neg ? " NULLS LAST" : " NULLS FIRST");
    }

    // A table reference; a join nested on the right keeps its parentheses, a left-deep chain is
    // written flat (every engine reads it the same way).
    void tabella(int t, int si, bool destra)
    {
        const Nodo &x = n(t);
        switch (x.tipo) {
        case Nd::Tabella:
            w(m_a.nome(x.tok));
            if (x.tok2 >= 0) {
                w(" AS ");
                w(m_a.nome(x.tok2));
            }
            break;
        case Nd::Derivata:
            w("(");
            select(x.s, nullptr);
            w(") AS ");
            w(m_a.nome(x.tok2));
            break;
        case Nd::Unione: {
            if (destra) w("(");
            tabella(x.a, si, false);
            switch (static_cast<Giunzione>(x.extra)) {
            case Giunzione::Sinistra: w(" LEFT JOIN "); break;
            case Giunzione::Destra: w(" RIGHT JOIN "); break;
            case Giunzione::Interna: w(" INNER JOIN "); break;
            }
            tabella(x.b, si, true);
            w(" ON ");
            espr(x.c, si, true);
            if (destra) w(")");
            break;
        }
        default: throw erroreSintassi(QStringLiteral("tabella attesa"));
        }
    }

    // The items of a SELECT's result, in order, as the record sets name their fields.
    void colonneRisultato(int si, Traduzione &t)
    {
        t.colonneNote = true;
        const SelectAlbero &s = m_a.select[static_cast<size_t>(si)];
        const auto tutte = [&](const Fonte &f) {
            if (!f.cat) {
                t.colonneNote = false;
                return;
            }
            VoceRisultato v;
            v.colonna.qualificatore = f.espostoTesto;
            v.colonna.fonte = f.espostoTesto;
            v.tutte = f.cat;
            t.voci.push_back(std::move(v));
        };
        for (int v = s.voci; v >= 0; v = n(v).seguente) {
            const Nodo &voce = n(v);
            const Nodo &e = n(voce.a);
            if (e.tipo == Nd::Stella) {
                if (e.tok2 < 0) {
                    for (const Fonte &f : fonti(si)) tutte(f);
                } else {
                    const QStringView q = m_a.nome(e.tok2);
                    const Fonte *trovata = nullptr;
                    for (const Fonte &f : fonti(si))
                        if (stessoNome(f.esposto, q)) trovata = &f;
                    if (trovata) tutte(*trovata);
                    else t.colonneNote = false;
                }
                continue;
            }
            ColonnaRisultato r;
            if (voce.tok2 >= 0) {
                QStringView alias = m_a.nome(voce.tok2);
                if (m_a.token[static_cast<size_t>(voce.tok2)].tipo == Tk::Testo) alias = alias.mid(1, alias.size() - 2);
                r.nome = alias.toString();
            }
            if (e.tipo == Nd::Colonna) {
                const Risolta ris = risolvi(voce.a, si);
                if (const ColonnaCatalogo *c = ris.col()) {
                    if (voce.tok2 < 0) {
                        r.qualificatore = ris.fonte->espostoTesto;
                        r.nome = c->nome;
                    }
                    r.fonte = ris.fonte->espostoTesto;
                    r.tabellaBase = ris.fonte->cat->nome();
                    r.colonnaBase = c->nome;
                    r.tipo = c->tipo;
                    r.nonNullo = c->nonNullo;
                } else if (voce.tok2 < 0) {
                    r.nome = m_a.nome(e.tok).toString();
                    if (e.tok2 >= 0) r.qualificatore = m_a.nome(e.tok2).toString();
                }
            } else {
                r.tipo = tipoEspressione(voce.a, si);
            }
            VoceRisultato vr;
            vr.colonna = std::move(r);
            t.voci.push_back(std::move(vr));
        }
        if (s.unione >= 0) {
            // The rows of a UNION belong to no table: readable, not writable.
            std::vector<ColonnaRisultato> piane = ::colonneRisultato(t);
            t.voci.clear();
            for (ColonnaRisultato &c : piane) {
                c.fonte.clear();
                c.tabellaBase.clear();
                c.colonnaBase.clear();
                VoceRisultato vr;
                vr.colonna = std::move(c);
                t.voci.push_back(std::move(vr));
            }
        }
    }

    // The stored type of a computed column, where it follows from its operands.
    TipoCampo tipoEspressione(int e, int si)
    {
        const Nodo &x = n(e);
        if (x.tipo == Nd::Funzione) {
            const QStringView f = m_a.testo(x.tok);
            if (nomeE(f, "count")) return TipoCampo::Lungo;
            if ((nomeE(f, "sum") || nomeE(f, "min") || nomeE(f, "max")) && x.a >= 0 && n(x.a).seguente < 0) {
                const TipoCampo t = tipoEspressione(x.a, si);
                if (nomeE(f, "sum") && (t == TipoCampo::Intero || t == TipoCampo::Lungo)) return TipoCampo::Sconosciuto;
                return t;
            }
            return TipoCampo::Sconosciuto;
        }
        if (x.tipo == Nd::Colonna) return tipoColonna(e, si);
        return TipoCampo::Sconosciuto;
    }

    // ---------------------------------------------------------------- INSERT, UPDATE, DELETE
    void inserisci()
    {
        const Istruzione &is = m_a.istruzione;
        const Nodo &t = n(is.tabella);
        const QStringView nome = m_a.nome(t.tok);
        const auto cat = m_c.tabella(nome);
        std::vector<TipoCampo> tipi;
        w("INSERT INTO ");
        w(nome);
        if (is.colonne >= 0) {
            w(" (");
            for (int c = is.colonne; c >= 0; c = n(c).seguente) {
                if (c != is.colonne) w(", ");
                const QStringView col = m_a.nome(n(c).tok);
                w(col);
                const int i = cat ? cat->indice(col) : -1;
                tipi.push_back(i >= 0 ? cat->colonne()[static_cast<size_t>(i)].tipo : TipoCampo::Sconosciuto);
            }
            w(")");
        } else if (cat) {
            for (const ColonnaCatalogo &c : cat->colonne()) tipi.push_back(c.tipo);
        }
        if (is.valori >= 0) {
            w(" VALUES (");
            size_t k = 0;
            for (int v = is.valori; v >= 0; v = n(v).seguente, ++k) {
                if (v != is.valori) w(", ");
                espr(v, -1, false, 0, k < tipi.size() ? tipi[k] : TipoCampo::Sconosciuto);
            }
            w(")");
        } else {
            w(" ");
            select(is.select, &tipi);
        }
    }

    // SET col = value, the column without its table (the engines refuse "T.col" there).
    void assegnazioni(int si, const TabellaCatalogo *cat)
    {
        const Istruzione &is = m_a.istruzione;
        w(" SET ");
        for (int as = is.assegna; as >= 0; as = n(as).seguente) {
            if (as != is.assegna) w(", ");
            const Nodo &c = n(n(as).a);
            const QStringView col = m_a.nome(c.tok);
            w(col);
            w(" = ");
            const int i = cat ? cat->indice(col) : -1;
            espr(n(as).b, si, false, 0, i >= 0 ? cat->colonne()[static_cast<size_t>(i)].tipo : TipoCampo::Sconosciuto);
        }
    }

    void aggiorna()
    {
        const Istruzione &is = m_a.istruzione;
        const int si = is.select;
        if (n(is.tabella).tipo == Nd::Tabella) {
            const Nodo &t = n(is.tabella);
            w("UPDATE ");
            tabella(is.tabella, si, false);
            assegnazioni(si, m_c.tabella(m_a.nome(t.tok)).get());
            condizione(" WHERE ", is.dove, si);
            return;
        }
        // UPDATE over a join tree: the rows of the target table that the join selects, by key.
        const Fonte *bersaglio = nullptr;
        for (int as = is.assegna; as >= 0; as = n(as).seguente) {
            const Risolta r = risolvi(n(as).a, si);
            if (!r.fonte || !r.col())
                throw erroreSintassi(QStringLiteral("campo da aggiornare sconosciuto: %1").arg(m_a.nome(n(n(as).a).tok)));
            if (bersaglio && bersaglio != r.fonte)
                throw erroreSintassi(QStringLiteral("un aggiornamento su più tabelle non è gestito"));
            bersaglio = r.fonte;
        }
        for (int as = is.assegna; as >= 0; as = n(as).seguente)
            soloBersaglio(n(as).b, si, bersaglio, true);
        chiaveInGiunzione(si, *bersaglio, [&] {
            w("UPDATE ");
            w(bersaglio->cat->nome());
            m_qualDa = bersaglio->esposto;
            m_qualA = bersaglio->cat->nome();
            assegnazioni(si, bersaglio->cat.get());
        });
    }

    void elimina()
    {
        const Istruzione &is = m_a.istruzione;
        const int si = is.select;
        if (n(is.tabella).tipo == Nd::Tabella) {
            w("DELETE FROM ");
            tabella(is.tabella, si, false);
            condizione(" WHERE ", is.dove, si);
            return;
        }
        const std::vector<Fonte> &f = fonti(si);
        const Fonte *bersaglio = f.empty() ? nullptr : &f.front();
        if (is.qualDelete >= 0) {
            bersaglio = nullptr;
            for (const Fonte &x : f)
                if (stessoNome(x.esposto, m_a.nome(is.qualDelete))) bersaglio = &x;
        }
        if (!bersaglio || !bersaglio->cat)
            throw erroreSintassi(QStringLiteral("tabella da cui eliminare sconosciuta"));
        chiaveInGiunzione(si, *bersaglio, [&] {
            w("DELETE FROM ");
            w(bersaglio->cat->nome());
            m_qualDa = bersaglio->esposto;
            m_qualA = bersaglio->cat->nome();
        });
    }

    // Whether every column of the expression belongs to the target (true), else false; with
    // `obbligatorio` a column of another table is refused.
    bool soloBersaglio(int e, int si, const Fonte *b, bool obbligatorio)
    {
        const Nodo &x = n(e);
        if (x.tipo == Nd::Colonna) {
            const Risolta r = risolvi(e, si);
            if (r.fonte == b) return true;
            if (obbligatorio)
                throw erroreSintassi(QStringLiteral("un aggiornamento con valori di altre tabelle non è gestito"));
            return false;
        }
        if (x.s >= 0) {
            if (obbligatorio) throw erroreSintassi(QStringLiteral("sottoquery non gestita nell'aggiornamento"));
            return false;
        }
        bool ok = true;
        for (int c : {x.a, x.b, x.c})
            if (c >= 0) ok = soloBersaglio(c, si, b, obbligatorio) && ok;
        if (x.tipo == Nd::Funzione || x.tipo == Nd::InLista)
            for (int a = x.tipo == Nd::Funzione ? x.a : x.b; a >= 0; a = n(a).seguente)
                ok = soloBersaglio(a, si, b, obbligatorio) && ok;
        return ok;
    }

    void congiunti(int e, std::vector<int> &out)
    {
        const Nodo &x = n(e);
        if (x.tipo == Nd::Binario && x.op == Op::And) {
            congiunti(x.a, out);
            congiunti(x.b, out);
        } else {
            out.push_back(e);
        }
    }

    // Writes "<head> WHERE <conditions on the target alone> AND (key) IN (SELECT key FROM <join
    // tree> WHERE <condition>)": the same rows as Jet's statement over the join, and the target's
    // own conditions repeated outside so that the engines reach its rows through the key index.
    template <typename Testa>
    void chiaveInGiunzione(int si, const Fonte &b, Testa testa)
    {
        const Istruzione &is = m_a.istruzione;
        if (!b.cat || b.cat->chiave().empty())
            throw erroreSintassi(QStringLiteral("la tabella %1 non ha chiave primaria").arg(b.tabella));
        testa();
        w(" WHERE ");
        if (is.dove >= 0) {
            std::vector<int> parti;
            congiunti(is.dove, parti);
            for (int p : parti) {
                if (!soloBersaglio(p, si, &b, false)) continue;
                espr(p, si, true, 3);
                w(" AND ");
            }
        }
        m_qualDa = {};
        m_qualA.clear();
        const std::vector<int> &k = b.cat->chiave();
        if (k.size() > 1) w("(");
        for (size_t i = 0; i < k.size(); ++i) {
            if (i) w(", ");
            w(b.cat->colonne()[static_cast<size_t>(k[i])].nome);
        }
        if (k.size() > 1) w(")");
        w(" IN (SELECT ");
        for (size_t i = 0; i < k.size(); ++i) {
            if (i) w(", ");
            nomeQualificato(b.esposto, b.cat->colonne()[static_cast<size_t>(k[i])].nome);
        }
        w(" FROM ");
        tabella(is.tabella, si, false);
        condizione(" WHERE ", is.dove, si);
        w(")");
    }

    const Albero &m_a;
    MotoreDb m_m;
    Catalogo &m_c;
    std::vector<std::vector<Fonte>> m_fonti;
    std::vector<bool> m_fontiPronte;
    std::vector<std::optional<Risolta>> m_risolte;
    Uscita m_o;
    QStringView m_qualDa;
    QString m_qualA;
};

QStringView primaParola(QStringView sql)
{
    qsizetype i = 0;
    while (i < sql.size() && sql[i].isSpace()) ++i;
    qsizetype j = i;
    while (j < sql.size() && sql[j].isLetter()) ++j;
    return sql.mid(i, j - i);
}

bool parola(QStringView p, const char *k) { return p.compare(QLatin1String(k), Qt::CaseInsensitive) == 0; }

} // namespace

std::vector<ColonnaRisultato> colonneRisultato(const Traduzione &t)
{
    std::vector<ColonnaRisultato> out;
    for (const VoceRisultato &v : t.voci) {
        if (!v.tutte) {
            out.push_back(v.colonna);
            continue;
        }
        for (const ColonnaCatalogo &c : v.tutte->colonne()) {
            ColonnaRisultato r;
            r.qualificatore = v.colonna.qualificatore;
            r.fonte = v.colonna.fonte;
            r.nome = c.nome;
            r.tabellaBase = v.tutte->nome();
            r.colonnaBase = c.nome;
            r.tipo = c.tipo;
            r.nonNullo = c.nonNullo;
            out.push_back(std::move(r));
        }
    }
    return out;
}

Traduzione traduciJet(QStringView sql, MotoreDb motore, Catalogo &catalogo)
{
    const QStringView p = primaParola(sql);
    if (!parola(p, "select") && !parola(p, "insert") && !parola(p, "update") && !parola(p, "delete")) {
        // Schema statements and anything else go as written.
        Traduzione t;
        t.sql = sql.toString();
        t.schema = parola(p, "create") || parola(p, "drop") || parola(p, "alter");
        return t;
    }
    const Albero a = analizza(sql);
    return Scrittore(a, motore, catalogo).traduci();
}

std::shared_ptr<const Traduzione> TraduttoreSql::traduci(const QString &sql)
{
    if (m_catalogo.versione() != m_versioneCatalogo) {
        m_cache.clear();
        m_versioneCatalogo = m_catalogo.versione();
    }
    const auto it = m_cache.find(sql);
    if (it != m_cache.end())
        return it->second;
    auto t = std::make_shared<const Traduzione>(traduciJet(sql, m_motore, m_catalogo));
    if (m_cache.size() >= 1024)
        m_cache.clear();
    m_cache.emplace(sql, t);
    return t;
}
