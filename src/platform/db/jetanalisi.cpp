#include "jetalbero.h"

#include "errori.h"

namespace {

// How deep parentheses, signs, NOT, function calls and subqueries may nest: the reader and the
// writers recurse once per level, and a hostile statement must not exhaust the stack.
constexpr int kMaxProfondita = 200;

class Analizzatore {
public:
    explicit Analizzatore(Albero &a) : m_a(a) {}

    void istruzione()
    {
        Istruzione &is = m_a.istruzione;
        switch (kw()) {
        case Kw::Select:
            is.tipo = TipoIstruzione::Select;
            is.select = select(-1);
            break;
        case Kw::Insert: inserisci(); break;
        case Kw::Update: aggiorna(); break;
        case Kw::Delete: elimina(); break;
        default:
            is.tipo = TipoIstruzione::Altro;
            return;
        }
        if (tipo() == Tk::PuntoVirgola) ++m_p;
        if (tipo() != Tk::Fine) errore("testo inatteso");
    }

    int espressioneSola()
    {
        const int e = espr();
        if (tipo() != Tk::Fine) errore("testo inatteso");
        return e;
    }

private:
    // --- tokens
    const Token &tk(int off = 0) const
    {
        const size_t i = static_cast<size_t>(m_p + off);
        return i < m_a.token.size() ? m_a.token[i] : m_a.token.back();
    }
    Tk tipo(int off = 0) const { return tk(off).tipo; }
    Kw kw(int off = 0) const { return tk(off).tipo == Tk::Nome ? tk(off).parola : Kw::Nessuna; }
    bool op(OpTk o) const { return tk().op == o; }
    bool prendi(Kw k)
    {
        if (kw() != k) return false;
        ++m_p;
        return true;
    }
    void attendi(Kw k, const char *cosa)
    {
        if (!prendi(k)) errore(cosa);
    }
    void attendi(Tk t, const char *cosa)
    {
        if (tipo() != t) errore(cosa);
        ++m_p;
    }
    [[noreturn]] void errore(const char *cosa) const
    {
        throw erroreSintassi(QStringLiteral("%1 alla posizione %2").arg(QLatin1String(cosa)).arg(tk().inizio + 1));
    }

    // One more level of nesting for the life of the object.
    class Livello {
    public:
        explicit Livello(Analizzatore &a) : m_a(a)
        {
            if (++m_a.m_profondita > kMaxProfondita) m_a.errore("espressione troppo complessa");
        }
        ~Livello() { --m_a.m_profondita; }
        Livello(const Livello &) = delete;
        Livello &operator=(const Livello &) = delete;

    private:
        Analizzatore &m_a;
    };

    int nuovo(Nd t)
    {
        Nodo n;
        n.tipo = t;
        m_a.nodi.push_back(n);
        return static_cast<int>(m_a.nodi.size()) - 1;
    }
    Nodo &n(int i) { return m_a.nodi[static_cast<size_t>(i)]; }

    // A name usable for a table, column or alias: a plain identifier, or a keyword that the
    // dialect does not reserve in that place.
    bool eNome(int off = 0) const
    {
        if (tipo(off) != Tk::Nome) return false;
        switch (kw(off)) {
        case Kw::Nessuna: case Kw::Date: case Kw::Timestamp: case Kw::Percent: case Kw::Escape:
            return true;
        default:
            return false;
        }
    }

    // --- statements
    int select(int padre)
    {
        const Livello livello(*this);
        attendi(Kw::Select, "SELECT atteso");
        m_a.select.emplace_back();
        const int si = static_cast<int>(m_a.select.size()) - 1;
        const auto s = [&]() -> SelectAlbero & { return m_a.select[static_cast<size_t>(si)]; };
        s().padre = padre;
        if (prendi(Kw::Distinct)) s().distinta = true;
        else if (prendi(Kw::DistinctRow)) s().distintaRighe = true;
        else prendi(Kw::All);
        if (prendi(Kw::Top)) {
            if (tipo() != Tk::Numero) errore("numero atteso dopo TOP");
            s().top = m_p++;
            if (kw() == Kw::Percent) errore("TOP ... PERCENT non gestito");
        }
        s().voci = lista([&] { return voce(si); });
        if (prendi(Kw::From)) s().da = listaTabelle(si);
        if (prendi(Kw::Where)) s().dove = espr(si);
        if (kw() == Kw::Group) {
            ++m_p;
            attendi(Kw::By, "BY atteso");
            s().gruppo = listaEspr(si);
        }
        if (prendi(Kw::Having)) s().avendo = espr(si);
        if (kw() == Kw::Order) {
            ++m_p;
            attendi(Kw::By, "BY atteso");
            s().ordine = lista([&] {
                const int o = nuovo(Nd::Ordine);
                n(o).a = espr(si);
                if (prendi(Kw::Desc)) n(o).neg = true;
                else prendi(Kw::Asc);
                return o;
            });
        }
        if (prendi(Kw::Union)) {
            const bool tutti = prendi(Kw::All);
            const int u = select(padre);
            s().unione = u;
            s().unioneTutti = tutti;
        }
        return si;
    }

    bool virgola()
    {
        if (tipo() != Tk::Virgola) return false;
        ++m_p;
        return true;
    }

    int voce(int si)
    {
        const int v = nuovo(Nd::Voce);
        if (tipo() == Tk::Stella) {
            ++m_p;
            n(v).a = nuovo(Nd::Stella);
            return v;
        }
        if (tipo() == Tk::Nome && tipo(1) == Tk::Punto && tipo(2) == Tk::Stella) {
            const int st = nuovo(Nd::Stella);
            n(st).tok2 = m_p;
            m_p += 3;
            n(v).a = st;
            return v;
        }
        n(v).a = espr(si);
        if (prendi(Kw::As)) {
            if (!eNome() && tipo() != Tk::Testo) errore("alias atteso");
            n(v).tok2 = m_p++;
        } else if (eNome()) {
            n(v).tok2 = m_p++;
        }
        return v;
    }

    // A comma-separated list of elements, chained; answers the first.
    template <typename Elemento>
    int lista(Elemento elemento)
    {
        int prima = -1, ultimo = -1;
        do {
            const int e = elemento();
            if (ultimo < 0) prima = e;
            else n(ultimo).seguente = e;
            ultimo = e;
        } while (virgola());
        return prima;
    }

    int listaEspr(int si)
    {
        return lista([&] { return espr(si); });
    }

    int listaTabelle(int si)
    {
        return lista([&] { return catenaGiunzioni(si); });
    }

    int catenaGiunzioni(int si)
    {
        int sinistra = primariaTabella(si);
        for (;;) {
            Giunzione g;
            if (kw() == Kw::Left || kw() == Kw::Right) {
                g = kw() == Kw::Left ? Giunzione::Sinistra : Giunzione::Destra;
                ++m_p;
                prendi(Kw::Outer);
            } else if (kw() == Kw::Inner) {
                g = Giunzione::Interna;
                ++m_p;
            } else if (kw() == Kw::Join) {
                g = Giunzione::Interna;
            } else {
                return sinistra;
            }
            attendi(Kw::Join, "JOIN atteso");
            const int destra = primariaTabella(si);
            attendi(Kw::On, "ON atteso");
            const int u = nuovo(Nd::Unione);
            n(u).extra = static_cast<uint8_t>(g);
            n(u).a = sinistra;
            n(u).b = destra;
            n(u).c = espr(si);
            sinistra = u;
        }
    }

    int primariaTabella(int si)
    {
        const Livello livello(*this);
        if (tipo() == Tk::ParAperta) {
            ++m_p;
            if (kw() == Kw::Select) {
                const int d = nuovo(Nd::Derivata);
                n(d).s = select(si);
                attendi(Tk::ParChiusa, "')' atteso");
                prendi(Kw::As);
                if (!eNome()) errore("alias della sottoquery atteso");
                n(d).tok2 = m_p++;
                return d;
            }
            const int j = catenaGiunzioni(si);
            attendi(Tk::ParChiusa, "')' atteso");
            return j;
        }
        if (!eNome()) errore("nome di tabella atteso");
        const int t = nuovo(Nd::Tabella);
        n(t).tok = m_p++;
        if (prendi(Kw::As)) {
            if (!eNome()) errore("alias atteso");
            n(t).tok2 = m_p++;
        } else if (eNome()) {
            n(t).tok2 = m_p++;
        }
        return t;
    }

    void inserisci()
    {
        Istruzione &is = m_a.istruzione;
        is.tipo = TipoIstruzione::Insert;
        ++m_p;
        attendi(Kw::Into, "INTO atteso");
        if (!eNome()) errore("nome di tabella atteso");
        is.tabella = nuovo(Nd::Tabella);
        n(is.tabella).tok = m_p++;
        if (tipo() == Tk::ParAperta) {
            ++m_p;
            is.colonne = lista([&] { return colonna(); });
            attendi(Tk::ParChiusa, "')' atteso");
        }
        if (prendi(Kw::Values)) {
            attendi(Tk::ParAperta, "'(' atteso");
            is.valori = listaEspr(-1);
            attendi(Tk::ParChiusa, "')' atteso");
        } else if (kw() == Kw::Select) {
            is.select = select(-1);
        } else {
            errore("VALUES o SELECT atteso");
        }
    }

    // A field name, "Field" or "Table.Field".
    int colonna()
    {
        if (!eNome()) errore("nome di campo atteso");
        const int c = nuovo(Nd::Colonna);
        n(c).s = m_si;
        if (tipo(1) == Tk::Punto && tipo(2) == Tk::Nome) {
            n(c).tok2 = m_p;
            n(c).tok = m_p + 2;
            m_p += 3;
        } else {
            n(c).tok = m_p++;
        }
        return c;
    }

    void aggiorna()
    {
        Istruzione &is = m_a.istruzione;
        is.tipo = TipoIstruzione::Update;
        ++m_p;
        // The target's names resolve through a pseudo-select of its own.
        m_a.select.emplace_back();
        const int si = static_cast<int>(m_a.select.size()) - 1;
        is.select = si;
        is.tabella = catenaGiunzioni(si);
        m_a.select[static_cast<size_t>(si)].da = is.tabella;
        attendi(Kw::Set, "SET atteso");
        is.assegna = lista([&] {
            const int as = nuovo(Nd::Assegna);
            n(as).a = colonna();
            if (!op(OpTk::Uguale)) errore("'=' atteso");
            ++m_p;
            n(as).b = espr(si);
            return as;
        });
        if (prendi(Kw::Where)) is.dove = espr(si);
        m_a.select[static_cast<size_t>(si)].dove = is.dove;
    }

    void elimina()
    {
        Istruzione &is = m_a.istruzione;
        is.tipo = TipoIstruzione::Delete;
        ++m_p;
        if (tipo() == Tk::Stella) {
            ++m_p;
        } else if (tipo() == Tk::Nome && tipo(1) == Tk::Punto && tipo(2) == Tk::Stella) {
            is.qualDelete = m_p;
            m_p += 3;
        }
        attendi(Kw::From, "FROM atteso");
        m_a.select.emplace_back();
        const int si = static_cast<int>(m_a.select.size()) - 1;
        is.select = si;
        is.tabella = catenaGiunzioni(si);
        m_a.select[static_cast<size_t>(si)].da = is.tabella;
        if (prendi(Kw::Where)) is.dove = espr(si);
        m_a.select[static_cast<size_t>(si)].dove = is.dove;
    }

    // --- expressions, from the loosest operator to the tightest
    int espr(int si = -1)
    {
        const int salva = m_si;
        m_si = si;
        const int e = oppure();
        m_si = salva;
        return e;
    }

    int binario(Op o, int a, int b)
    {
        const int x = nuovo(Nd::Binario);
        n(x).op = o;
        n(x).a = a;
        n(x).b = b;
        return x;
    }

    int oppure()
    {
        int a = e();
        for (;;) {
            if (prendi(Kw::Or)) a = binario(Op::Or, a, e());
            else if (prendi(Kw::Xor)) a = binario(Op::Xor, a, e());
            else return a;
        }
    }

    int e()
    {
        int a = non();
        while (prendi(Kw::And)) a = binario(Op::And, a, non());
        return a;
    }

    int non()
    {
        if (prendi(Kw::Not)) {
            const Livello livello(*this);
            const int a = non();
            const int x = nuovo(Nd::Unario);
            n(x).op = Op::Not;
            n(x).a = a;
            return x;
        }
        return confronto();
    }

    int confronto()
    {
        int a = concatena();
        for (;;) {
            Op o = Op::Nessuno;
            if (op(OpTk::Uguale)) o = Op::Uguale;
            else if (op(OpTk::Diverso)) o = Op::Diverso;
            else if (op(OpTk::Minore)) o = Op::Minore;
            else if (op(OpTk::Maggiore)) o = Op::Maggiore;
            else if (op(OpTk::MinoreUguale)) o = Op::MinoreUguale;
            else if (op(OpTk::MaggioreUguale)) o = Op::MaggioreUguale;
            if (o != Op::Nessuno) {
                ++m_p;
                a = binario(o, a, concatena());
                continue;
            }
            bool negato = false;
            if (kw() == Kw::Not && (kw(1) == Kw::Like || kw(1) == Kw::Between || kw(1) == Kw::In)) {
                negato = true;
                ++m_p;
            }
            if (prendi(Kw::Like)) {
                a = binario(Op::Like, a, concatena());
                n(a).neg = negato;
                continue;
            }
            if (prendi(Kw::Between)) {
                const int x = nuovo(Nd::Tra);
                n(x).neg = negato;
                n(x).a = a;
                n(x).b = concatena();
                attendi(Kw::And, "AND atteso in BETWEEN");
                n(x).c = concatena();
                a = x;
                continue;
            }
            if (prendi(Kw::In)) {
                attendi(Tk::ParAperta, "'(' atteso dopo IN");
                int x;
                if (kw() == Kw::Select) {
                    x = nuovo(Nd::InSelect);
                    n(x).s = select(m_si);
                } else {
                    x = nuovo(Nd::InLista);
                    const int salva = m_si;
                    n(x).b = listaEspr(salva);
                    m_si = salva;
                }
                attendi(Tk::ParChiusa, "')' atteso");
                n(x).neg = negato;
                n(x).a = a;
                a = x;
                continue;
            }
            if (negato) errore("LIKE, BETWEEN o IN attesi");
            if (kw() == Kw::Is) {
                ++m_p;
                const int x = nuovo(Nd::ENull);
                n(x).neg = prendi(Kw::Not);
                attendi(Kw::Null, "NULL atteso dopo IS");
                n(x).a = a;
                a = x;
                continue;
            }
            return a;
        }
    }

    // The binary operators between comparison and the unary signs, loosest first: Jet binds
    // "&" looser than + and -, those looser than Mod, integer division, * and /; the signs
    // come next and "^" binds tightest (-2^2 is -4).
    struct Operatore {
        Tk tipo;
        OpTk op;
        Kw parola;
        Op nodo;
    };
    static constexpr int kLivelli = 5;

    const Operatore *operatore(int livello) const
    {
        static const Operatore concatena[] = {{Tk::Op, OpTk::Concatena, Kw::Nessuna, Op::Concatena}};
        static const Operatore somma[] = {{Tk::Op, OpTk::Piu, Kw::Nessuna, Op::Piu}, {Tk::Op, OpTk::Meno, Kw::Nessuna, Op::Meno}};
        static const Operatore modulo[] = {{Tk::Nome, OpTk::Nessuno, Kw::Mod, Op::Modulo}};
        static const Operatore divInt[] = {{Tk::Op, OpTk::DivisioneIntera, Kw::Nessuna, Op::DivisioneIntera}};
        static const Operatore prodotto[] = {{Tk::Stella, OpTk::Nessuno, Kw::Nessuna, Op::Per},
                                             {Tk::Op, OpTk::Diviso, Kw::Nessuna, Op::Diviso}};
        static const std::pair<const Operatore *, size_t> livelli[kLivelli] = {
            {concatena, 1}, {somma, 2}, {modulo, 1}, {divInt, 1}, {prodotto, 2}};
        const auto [ops, n] = livelli[livello];
        for (size_t i = 0; i < n; ++i) {
            const Operatore &o = ops[i];
            if (tipo() == o.tipo && (o.tipo != Tk::Op || op(o.op)) && (o.tipo != Tk::Nome || kw() == o.parola)) return &o;
        }
        return nullptr;
    }

    int operandi(int livello = 0)
    {
        if (livello == kLivelli) return unario();
        int a = operandi(livello + 1);
        while (const Operatore *o = operatore(livello)) {
            ++m_p;
            a = binario(o->nodo, a, operandi(livello + 1));
        }
        return a;
    }

    int concatena() { return operandi(0); }

    // A sign applies to what follows it, powers included (-2^2 is -4); the exponent of a power
    // may carry a sign of its own (2^-1).
    int unario(bool potenze = true)
    {
        if (op(OpTk::Meno) || op(OpTk::Piu)) {
            const Livello livello(*this);
            const bool meno = op(OpTk::Meno);
            ++m_p;
            const int a = unario(potenze);
            const int x = nuovo(Nd::Unario);
            n(x).op = meno ? Op::Meno : Op::Piu;
            n(x).a = a;
            return x;
        }
        return potenze ? potenza() : primaria();
    }

    int potenza()
    {
        int a = primaria();
        while (op(OpTk::Potenza)) {
            ++m_p;
            a = binario(Op::Potenza, a, unario(false));
        }
        return a;
    }

    int primaria()
    {
        const Livello livello(*this);
        const Token &t = tk();
        switch (t.tipo) {
        case Tk::Numero: { const int x = nuovo(Nd::Numero); n(x).tok = m_p++; return x; }
        case Tk::Testo: { const int x = nuovo(Nd::Testo); n(x).tok = m_p++; return x; }
        case Tk::DataLett: { const int x = nuovo(Nd::Data); n(x).tok = m_p++; return x; }
        case Tk::ParAperta: {
            ++m_p;
            if (kw() == Kw::Select) {
                const int x = nuovo(Nd::SottoSelect);
                n(x).s = select(m_si);
                attendi(Tk::ParChiusa, "')' atteso");
                return x;
            }
            const int salva = m_si;
            const int x = oppure();
            m_si = salva;
            attendi(Tk::ParChiusa, "')' atteso");
            return x;
        }
        case Tk::Nome: break;
        default: errore("espressione attesa");
        }
        switch (t.parola) {
        case Kw::Null: ++m_p; return nuovo(Nd::Null);
        case Kw::True: ++m_p; return nuovo(Nd::Vero);
        case Kw::False: ++m_p; return nuovo(Nd::Falso);
        case Kw::Date: case Kw::Timestamp:
            if (tipo(1) == Tk::Testo) {
                const int x = nuovo(Nd::Data);
                n(x).extra = 1;
                n(x).tok = m_p + 1;
                m_p += 2;
                return x;
            }
            break;
        case Kw::Exists: {
            ++m_p;
            attendi(Tk::ParAperta, "'(' atteso dopo EXISTS");
            const int x = nuovo(Nd::Esiste);
            n(x).s = select(m_si);
            attendi(Tk::ParChiusa, "')' atteso");
            return x;
        }
        case Kw::Left: case Kw::Right:
            if (tipo(1) == Tk::ParAperta) return funzione();
            errore("espressione attesa");
        default:
            break;
        }
        if (!eNome()) errore("espressione attesa");
        if (tipo(1) == Tk::ParAperta) return funzione();
        return colonna();
    }

    int funzione()
    {
        const int x = nuovo(Nd::Funzione);
        n(x).tok = m_p;
        m_p += 2; // name and '('
        if (tipo() == Tk::ParChiusa) {
            ++m_p;
            return x;
        }
        if (tipo() == Tk::Stella) {
            ++m_p;
            n(x).extra = 1;
        } else {
            if (prendi(Kw::Distinct)) n(x).neg = true;
            const int salva = m_si;
            n(x).a = listaEspr(salva);
            m_si = salva;
        }
        attendi(Tk::ParChiusa, "')' atteso");
        return x;
    }

    Albero &m_a;
    int m_p = 0;
    int m_si = -1;
    int m_profondita = 0;
};

} // namespace

Albero analizza(QStringView sql)
{
    Albero a;
    a.sql = sql;
    a.token = tokenizza(sql);
    a.nodi.reserve(a.token.size());
    Analizzatore(a).istruzione();
    return a;
}

Albero analizzaEspressione(QStringView testo, int &radice)
{
    Albero a;
    a.sql = testo;
    a.token = tokenizza(testo);
    a.nodi.reserve(a.token.size());
    radice = Analizzatore(a).espressioneSola();
    return a;
}
