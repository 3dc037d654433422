// The writer: SELECT (DISTINCTROW, TOP, UNION), INSERT, UPDATE and DELETE, the last two also
// over a join tree.
#include "errori.h"
#include "scrittoresql.h"

#include <algorithm>

namespace scrittura {

Scrittore::Scrittore(const Albero &a, MotoreDb m, Catalogo &c) : m_a(a), m_m(m), m_c(c)
{
    m_risolte.resize(a.nodi.size());
    m_tipi.assign(a.nodi.size(), 0);
    m_firme.assign(a.nodi.size(), nullptr);
    m_fonti.resize(a.select.size());
    m_fontiPronte.assign(a.select.size(), false);
    // Room for what a statement legitimately becomes; a statement built to explode is refused.
    m_o.limita(a.sql.size() * 24 + 256 * 1024);
}

Traduzione Scrittore::traduci()
{
    Traduzione t;
    const Istruzione &is = m_a.istruzione;
    t.tipo = is.tipo;
    switch (is.tipo) {
    case TipoIstruzione::Select:
        select(is.select, nullptr);
        colonneRisultato(is.select, t);
        t.senzaRighe = senzaRighe(is.select);
        break;
    case TipoIstruzione::Insert: inserisci(); break;
    case TipoIstruzione::Update: aggiorna(); break;
    case TipoIstruzione::Delete: elimina(); break;
    case TipoIstruzione::Altro: break;
    }
    t.sql = m_o.prendi();
    return t;
}

// ------------------------------------------------------------------ SELECT

// "SELECT fields FROM ... WHERE 0=1": no row whatever the tables hold. Only plain fields: an
// aggregate gives its one row even then.
bool Scrittore::senzaRighe(int si) const
{
    const SelectAlbero &s = m_a.select[static_cast<size_t>(si)];
    if (s.dove < 0 || s.unione >= 0 || s.gruppo >= 0 || s.avendo >= 0) return false;
    for (int v = s.voci; v >= 0; v = n(v).seguente)
        if (n(n(v).a).tipo != Nd::Stella && n(n(v).a).tipo != Nd::Colonna) return false;
    const Nodo &d = n(s.dove);
    if (d.tipo != Nd::Binario || (d.op != Op::Uguale && d.op != Op::Diverso)) return false;
    if (n(d.a).tipo != Nd::Numero || n(d.b).tipo != Nd::Numero) return false;
    bool okA = false, okB = false;
    const double a = m_a.testo(n(d.a).tok).toDouble(&okA), b = m_a.testo(n(d.b).tok).toDouble(&okB);
    return okA && okB && ((a == b) == (d.op == Op::Diverso));
}

// The types common to the members of a UNION, column by column; none when a member takes
// "*" (its columns are the tables').
std::vector<TipoJet> Scrittore::tipiUnione(int si)
{
    std::vector<TipoJet> comuni;
    bool primo = true;
    for (int m = si; m >= 0; m = m_a.select[static_cast<size_t>(m)].unione) {
        size_t k = 0;
        for (int v = m_a.select[static_cast<size_t>(m)].voci; v >= 0; v = n(v).seguente, ++k) {
            if (n(n(v).a).tipo == Nd::Stella) return {};
            const TipoJet t = tipo(n(v).a);
            if (primo) comuni.push_back(t);
            else if (k < comuni.size()) comuni[k] = tipoComune(comuni[k], t);
        }
        primo = false;
    }
    return comuni;
}

void Scrittore::select(int si, const std::vector<TipoCampo> *suggeriti, const std::vector<TipoJet> *tipi)
{
    const Profondita p(*this);
    if (m_a.select[static_cast<size_t>(si)].unione < 0) {
        corpoSelect(si, suggeriti, tipi);
        return;
    }
    // Every member in the common types; a member with a TOP of its own, or an ORDER BY that
    // is not the union's (the last member's), is a subquery of its own.
    const std::vector<TipoJet> comuni = tipi ? *tipi : tipiUnione(si);
    const std::vector<TipoJet> *come = comuni.empty() ? nullptr : &comuni;
    int k = 0;
    for (int m = si, prima = -1; m >= 0; prima = m, m = m_a.select[static_cast<size_t>(m)].unione, ++k) {
        const SelectAlbero &s = m_a.select[static_cast<size_t>(m)];
        if (prima >= 0) w(m_a.select[static_cast<size_t>(prima)].unioneTutti ? " UNION ALL " : " UNION ");
        const bool ultimo = s.unione < 0;
        if (s.top >= 0 || (!ultimo && s.ordine >= 0)) {
            w("SELECT * FROM (");
            corpoSelect(m, suggeriti, come);
            w(QStringLiteral(") AS jet_u%1").arg(k));
        } else {
            corpoSelect(m, suggeriti, come);
        }
    }
}

void Scrittore::corpoSelect(int si, const std::vector<TipoCampo> *suggeriti, const std::vector<TipoJet> *tipi)
{
    const SelectAlbero &s = m_a.select[static_cast<size_t>(si)];
    w("SELECT ");
    // DISTINCTROW: distinct rows of the tables whose fields are selected, not distinct values.
    std::vector<const Fonte *> righe;
    bool distinta = s.distinta;
    if (s.distintaRighe && s.gruppo < 0) {
        bool aggregati = false;
        bool tutte = false;
        for (int v = s.voci; v >= 0 && !tutte; v = n(v).seguente) {
            const Nodo &e = n(n(v).a);
            if (e.tipo == Nd::Stella) {
                if (e.tok2 < 0) tutte = true;
                for (const Fonte &f : fonti(si))
                    if (e.tok2 >= 0 && stessoNome(f.esposto, m_a.nome(e.tok2)) &&
                        std::find(righe.begin(), righe.end(), &f) == righe.end())
                        righe.push_back(&f);
            } else {
                fontiUsate(n(v).a, righe);
            }
        }
        for (int v = s.voci; v >= 0; v = n(v).seguente)
            if (n(n(v).a).tipo == Nd::Funzione && aggregata(firma(n(v).a).id)) aggregati = true;
        // Only this SELECT's own tables count (a correlated name reads an outer one).
        const std::vector<Fonte> &proprie = fonti(si);
        std::erase_if(righe, [&](const Fonte *f) {
            return std::none_of(proprie.begin(), proprie.end(), [f](const Fonte &p) { return &p == f; });
        });
        if (tutte || aggregati || righe.size() >= fonti(si).size()) {
            righe.clear();
        } else {
            for (const Fonte *f : righe)
                if (!f->cat || f->cat->chiave().empty()) distinta = true;
            if (distinta) righe.clear();
        }
    }
    if (distinta) w("DISTINCT ");
    size_t k = 0;
    for (int v = s.voci; v >= 0; v = n(v).seguente, ++k) {
        if (v != s.voci) w(", ");
        const Nodo &voce = n(v);
        if (n(voce.a).tipo == Nd::Stella) {
            valoreNodo(voce.a, 0);
        } else if (suggeriti && k < suggeriti->size()) {
            ColonnaCatalogo c;
            c.tipo = (*suggeriti)[k];
            assegnato(voce.a, &c);
        } else if (tipi && k < tipi->size()) {
            valoreCome(voce.a, (*tipi)[k]);
        } else {
            valore(voce.a);
        }
        if (voce.tok2 >= 0) {
            w(" AS ");
            nome(alias(voce.tok2));
        }
    }
    elenco(" FROM ", s.da, [&](int t) { tabella(t, false); });
    clausola(" WHERE ", s.dove);
    if (!righe.empty()) {
        w(" GROUP BY ");
        bool primo = true;
        for (const Fonte *f : righe)
            for (int c : f->cat->chiave()) {
                if (!primo) w(", ");
                primo = false;
                nomeQualificato(f->esposto, f->cat->colonne()[static_cast<size_t>(c)].nome);
            }
    }
    elenco(" GROUP BY ", s.gruppo, [&](int g) { valore(g); });
    clausola(" HAVING ", s.avendo);
    elenco(" ORDER BY ", s.ordine, [&](int o) { ordine(o); });
    if (s.top >= 0) {
        w(" LIMIT ");
        w(m_a.testo(s.top));
    }
}

// The tables of this SELECT whose columns the expression reads.
void Scrittore::fontiUsate(int e, std::vector<const Fonte *> &usate)
{
    const Profondita p(*this);
    const Nodo &x = n(e);
    if (x.tipo == Nd::Colonna) {
        const Risolta r = risolvi(e);
        if (r.fonte && std::find(usate.begin(), usate.end(), r.fonte) == usate.end()) usate.push_back(r.fonte);
        return;
    }
    if (x.tipo == Nd::SottoSelect || x.tipo == Nd::Esiste || x.tipo == Nd::InSelect) return;
    for (int c : {x.a, x.b, x.c})
        if (c >= 0) fontiUsate(c, usate);
    if (x.tipo == Nd::Funzione || x.tipo == Nd::InLista)
        for (int a = x.tipo == Nd::Funzione ? x.a : x.b; a >= 0; a = n(a).seguente) fontiUsate(a, usate);
}

// A list of the tree written after its keyword, ", " between the elements; nothing for none.
template <typename Scrivi>
void Scrittore::elenco(const char *parola, int primo, Scrivi scrivi)
{
    if (primo < 0) return;
    w(parola);
    for (int x = primo; x >= 0; x = n(x).seguente) {
        if (x != primo) w(", ");
        scrivi(x);
    }
}

void Scrittore::clausola(const char *parola, int e)
{
    if (e < 0) return;
    w(parola);
    condizione(e);
}

void Scrittore::ordine(int o)
{
    const Nodo &x = n(o);
    const ColonnaCatalogo *c = colonnaNota(x.a);
    if (!c && n(x.a).tipo != Nd::Numero && tipo(x.a) == TipoJet::Testo) {
        if (sqlite()) {
            valore(x.a, 12);
            w(" COLLATE NOCASE");
        } else {
            w("CAST(");
            valore(x.a);
            w(" AS citext)");
        }
    } else {
        valore(x.a);
    }
    if (x.neg) w(" DESC");
    // Jet sorts Null lowest; PostgreSQL by default highest.
    if (!sqlite() && !(c && c->nonNullo) && n(x.a).tipo != Nd::Numero) w(x.neg ? " NULLS LAST" : " NULLS FIRST");
}

// A table reference; a join nested on the right keeps its parentheses, a left-deep chain is
// written flat (every engine reads it the same way).
void Scrittore::tabella(int t, bool destra)
{
    const Profondita p(*this);
    const Nodo &x = n(t);
    switch (x.tipo) {
    case Nd::Tabella:
        nome(m_a.nome(x.tok));
        if (x.tok2 >= 0) {
            w(" AS ");
            nome(m_a.nome(x.tok2));
        }
        break;
    case Nd::Derivata:
        w("(");
        select(x.s, nullptr);
        w(") AS ");
        nome(m_a.nome(x.tok2));
        break;
    case Nd::Unione: {
        if (destra) w("(");
        tabella(x.a, false);
        switch (static_cast<Giunzione>(x.extra)) {
        case Giunzione::Sinistra: w(" LEFT JOIN "); break;
        case Giunzione::Destra: w(" RIGHT JOIN "); break;
        case Giunzione::Interna: w(" INNER JOIN "); break;
        }
        tabella(x.b, true);
        w(" ON ");
        condizione(x.c);
        if (destra) w(")");
        break;
    }
    default: throw erroreSintassi(QStringLiteral("tabella attesa"));
    }
}

// ------------------------------------------------------------------ INSERT, UPDATE, DELETE

void Scrittore::inserisci()
{
    const Istruzione &is = m_a.istruzione;
    const Nodo &t = n(is.tabella);
    const QStringView nomeT = m_a.nome(t.tok);
    const auto cat = m_c.tabella(nomeT);
    std::vector<const ColonnaCatalogo *> colonne;
    w("INSERT INTO ");
    nome(nomeT);
    if (is.colonne >= 0) {
        w(" (");
        for (int c = is.colonne; c >= 0; c = n(c).seguente) {
            if (c != is.colonne) w(", ");
            const QStringView col = m_a.nome(n(c).tok);
            nome(col);
            const int i = cat ? cat->indice(col) : -1;
            colonne.push_back(i >= 0 ? &cat->colonne()[static_cast<size_t>(i)] : nullptr);
        }
        w(")");
    } else if (cat) {
        for (const ColonnaCatalogo &c : cat->colonne()) colonne.push_back(&c);
    }
    if (is.valori >= 0) {
        w(" VALUES (");
        size_t k = 0;
        for (int v = is.valori; v >= 0; v = n(v).seguente, ++k) {
            if (v != is.valori) w(", ");
            assegnato(v, k < colonne.size() ? colonne[k] : nullptr);
        }
        w(")");
    } else {
        std::vector<TipoCampo> tipi;
        for (const ColonnaCatalogo *c : colonne) tipi.push_back(c ? c->tipo : TipoCampo::Sconosciuto);
        w(" ");
        select(is.select, &tipi);
    }
}

// SET col = value, the column without its table (the engines refuse "T.col" there).
void Scrittore::assegnazioni(int, const TabellaCatalogo *cat)
{
    const Istruzione &is = m_a.istruzione;
    w(" SET ");
    for (int as = is.assegna; as >= 0; as = n(as).seguente) {
        if (as != is.assegna) w(", ");
        const Nodo &c = n(n(as).a);
        const QStringView col = m_a.nome(c.tok);
        nome(col);
        w(" = ");
        const int i = cat ? cat->indice(col) : -1;
        assegnato(n(as).b, i >= 0 ? &cat->colonne()[static_cast<size_t>(i)] : nullptr);
    }
}

void Scrittore::aggiorna()
{
    const Istruzione &is = m_a.istruzione;
    const int si = is.select;
    if (n(is.tabella).tipo == Nd::Tabella) {
        const Nodo &t = n(is.tabella);
        w("UPDATE ");
        tabella(is.tabella, false);
        assegnazioni(si, m_c.tabella(m_a.nome(t.tok)).get());
        clausola(" WHERE ", is.dove);
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
    for (int as = is.assegna; as >= 0; as = n(as).seguente) soloBersaglio(n(as).b, bersaglio, true);
    chiaveInGiunzione(si, *bersaglio, [&] {
        w("UPDATE ");
        nome(bersaglio->cat->nome());
        m_qualDa = bersaglio->esposto;
        m_qualA = bersaglio->cat->nome();
        assegnazioni(si, bersaglio->cat.get());
    });
}

void Scrittore::elimina()
{
    const Istruzione &is = m_a.istruzione;
    const int si = is.select;
    if (n(is.tabella).tipo == Nd::Tabella) {
        w("DELETE FROM ");
        tabella(is.tabella, false);
        clausola(" WHERE ", is.dove);
        return;
    }
    const std::vector<Fonte> &f = fonti(si);
    const Fonte *bersaglio = f.empty() ? nullptr : &f.front();
    if (is.qualDelete >= 0) {
        bersaglio = nullptr;
        for (const Fonte &x : f)
            if (stessoNome(x.esposto, m_a.nome(is.qualDelete))) bersaglio = &x;
    }
    if (!bersaglio || !bersaglio->cat) throw erroreSintassi(QStringLiteral("tabella da cui eliminare sconosciuta"));
    chiaveInGiunzione(si, *bersaglio, [&] {
        w("DELETE FROM ");
        nome(bersaglio->cat->nome());
        m_qualDa = bersaglio->esposto;
        m_qualA = bersaglio->cat->nome();
    });
}

// Whether every column of the expression belongs to the target (true), else false; with
// `obbligatorio` a column of another table is refused.
bool Scrittore::soloBersaglio(int e, const Fonte *b, bool obbligatorio)
{
    const Profondita p(*this);
    const Nodo &x = n(e);
    if (x.tipo == Nd::Colonna) {
        if (risolvi(e).fonte == b) return true;
        if (obbligatorio) throw erroreSintassi(QStringLiteral("un aggiornamento con valori di altre tabelle non è gestito"));
        return false;
    }
    if (x.tipo == Nd::SottoSelect || x.tipo == Nd::Esiste || x.tipo == Nd::InSelect) {
        if (obbligatorio) throw erroreSintassi(QStringLiteral("sottoquery non gestita nell'aggiornamento"));
        return false;
    }
    bool ok = true;
    for (int c : {x.a, x.b, x.c})
        if (c >= 0) ok = soloBersaglio(c, b, obbligatorio) && ok;
    if (x.tipo == Nd::Funzione || x.tipo == Nd::InLista)
        for (int a = x.tipo == Nd::Funzione ? x.a : x.b; a >= 0; a = n(a).seguente)
            ok = soloBersaglio(a, b, obbligatorio) && ok;
    return ok;
}

// The terms of an AND chain, gathered without recursion.
void Scrittore::congiunti(int e, std::vector<int> &out) const
{
    std::vector<int> pila{e};
    while (!pila.empty()) {
        const int x = pila.back();
        pila.pop_back();
        if (n(x).tipo == Nd::Binario && n(x).op == Op::And) {
            pila.push_back(n(x).b);
            pila.push_back(n(x).a);
        } else {
            out.push_back(x);
        }
    }
}

// Writes "<head> WHERE <conditions on the target alone> AND (key) IN (SELECT key FROM <join
// tree> WHERE <condition>)": the same rows as Jet's statement over the join, and the target's
// own conditions repeated outside so that the engines reach its rows through the key index.
template <typename Testa>
void Scrittore::chiaveInGiunzione(int, const Fonte &b, Testa testa)
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
            if (!soloBersaglio(p, &b, false)) continue;
            condizione(p, 3);
            w(" AND ");
        }
    }
    m_qualDa = {};
    m_qualA.clear();
    const std::vector<int> &k = b.cat->chiave();
    if (k.size() > 1) w("(");
    for (size_t i = 0; i < k.size(); ++i) {
        if (i) w(", ");
        nome(b.cat->colonne()[static_cast<size_t>(k[i])].nome);
    }
    if (k.size() > 1) w(")");
    w(" IN (SELECT ");
    for (size_t i = 0; i < k.size(); ++i) {
        if (i) w(", ");
        nomeQualificato(b.esposto, b.cat->colonne()[static_cast<size_t>(k[i])].nome);
    }
    w(" FROM ");
    tabella(is.tabella, false);
    clausola(" WHERE ", is.dove);
    w(")");
}

} // namespace scrittura
