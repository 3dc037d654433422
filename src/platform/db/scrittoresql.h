#pragma once
// The writer of one translation (the translator's inner part): reads the syntax tree of a
// statement in the suite's dialect and writes it again for SQLite or PostgreSQL. Each value is
// written in its engine's form of its Jet type (tipijet.h); on SQLite the operators and
// functions whose meaning the engine lacks are calls of the library's engine functions
// (funzionisqlite.h), on PostgreSQL expressions of its own.
#include "catalogo.h"
#include "formatojet.h"
#include "funzionijet.h"
#include "jetalbero.h"
#include "motoredb.h"
#include "tipijet.h"
#include "traduttoresql.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace scrittura {

// A table of a FROM clause: a table of the catalogue or a derived table.
struct Fonte {
    QStringView esposto; // alias, or the table name as written
    QStringView tabella; // table name as written ("" for a derived table)
    std::shared_ptr<const TabellaCatalogo> cat;
    QString espostoTesto; // `esposto` as a text of its own, made once
    int derivata = -1;    // the derived table's SELECT
};

// What a column name stands for.
struct Risolta {
    const Fonte *fonte = nullptr;
    int colonna = -1; // in the table of the catalogue
    int voce = -1;    // the item of a derived table
    const ColonnaCatalogo *col() const
    {
        return fonte && fonte->cat && colonna >= 0 ? &fonte->cat->colonne()[static_cast<size_t>(colonna)] : nullptr;
    }
};

// How SQLite holds a date value: as "yyyy-mm-dd", as "yyyy-mm-dd hh:mm:ss", or either.
enum class FormaData : uint8_t { Ignota, SoloData, DataOra };

// The statement being written: pieces copied straight into a buffer that grows rarely, with a
// bound on the length so that no statement can make the output explode.
class Uscita {
public:
    void limita(qsizetype massimo) { m_massimo = massimo; }
    void aggiungi(QStringView v);
    void aggiungi(const char *latino);
    QString prendi();
    qsizetype lunghezza() const { return m_lung; }

private:
    void spazio(qsizetype n);
    QString m_testo;
    char16_t *m_dati = nullptr;
    qsizetype m_lung = 0;
    qsizetype m_massimo = 0;
};

class Scrittore {
public:
    Scrittore(const Albero &a, MotoreDb m, Catalogo &c);
    Traduzione traduci();

private:
    friend class Profondita;
    const Nodo &n(int i) const { return m_a.n(i); }
    bool sqlite() const { return m_m == MotoreDb::SQLite; }

    // ------------------------------------------------ names (scrittorenomi.cpp)
    const std::vector<Fonte> &fonti(int si);
    void raccogli(int t, std::vector<Fonte> &out);
    Risolta risolvi(int c, int si);
    Risolta risolvi(int c) { return risolvi(c, n(c).s); }
    Risolta cerca(int c, int si);
    int voceDerivata(int si, QStringView nome);
    const ColonnaCatalogo *colonnaNota(int e);
    void nome(QStringView nome);
    void nomeQualificato(QStringView qual, QStringView nome);
    QStringView alias(int tok) const;
    void colonneRisultato(int si, Traduzione &t);
    bool senzaRighe(int si) const;
    void colonneDi(const Fonte &f, Traduzione &t);

    // ------------------------------------------------ types (scrittoretipi.cpp)
    TipoJet tipo(int e);
    TipoJet calcolaTipo(int e);
    TipoJet tipoNumero(int tok) const;
    FormaData formaData(int e);
    bool ePredicato(int e);
    bool semplice(int e) const;
    int argomento(int f, int i) const;
    int contaArgomenti(int f) const;
    const FirmaJet &firma(int f);
    bool testuale(int a, int b);

    // ------------------------------------------------ values (scrittoreespressioni.cpp)
    void w(const char *s) { m_o.aggiungi(s); }
    void w(QStringView s) { m_o.aggiungi(s); }
    void w(const QString &s) { m_o.aggiungi(QStringView(s)); }
    // The expression as a value in its own type's form.
    void valore(int e, int serve = 0);
    // The expression as a value of type `come` (Ignoto: the form a value of unknown type has).
    void valoreCome(int e, TipoJet come, int serve = 0);
    // The expression as a condition.
    void condizione(int e, int serve = 0);
    void valoreNodo(int e, int serve);
    void converti(int e, TipoJet da, TipoJet a);
    void condizioneCatena(int e, Op op, int serve);
    void confronto(int e, int serve);
    void lato(int e, int altro, bool testo, bool sinistro, int serve, TipoJet comune);
    TipoJet tipoConfronto(int a, int b);
    void datePerConfronto(int a, int b, const char *op);
    void aritmetica(int e);
    void negazione(int e);
    void concatena(int e);
    void like(int e, int serve);
    void testo(int tok, TipoCampo suggerito);
    void data(int e, TipoCampo suggerito);
    void numero(int e, TipoJet come);
    void valoreLetterale(int e, TipoCampo suggerito);
    void assegnato(int e, const ColonnaCatalogo *col);
    // PostgreSQL: a value written once and used more than once (`corpo` writes the uses).
    template <typename Corpo>
    void usaDueVolte(int e, TipoJet come, Corpo corpo);
    template <typename Valore, typename Corpo>
    void usaDueVolteScritto(bool semplice, Valore valore, Corpo corpo);
    void testoPg(int e);
    void arrotondaPariPg(const std::function<void()> &valoreNumerico, const std::function<void()> &decimali);
    void nonNulloPg(const std::function<void()> &valore, bool semplice, const char *tipoPg);

    // ------------------------------------------------ functions (scrittorefunzioni.cpp)
    void funzione(int e, bool logico);
    void funzioneSqlite(int e, const FirmaJet &f);
    void funzionePg(int e, const FirmaJet &f);
    void aggregato(int e, const FirmaJet &f);
    void formatoPg(int e, const FormatoJet &f);
    void numeroFormatoPg(int e, const FormatoJet &f);
    void dataFormatoPg(int e, const FormatoJet &f);
    void nonNegativoPg(int e, int minimo = 0);
    void datePg(int e, const FirmaJet &f);
    QString letteraleArgomento(int e, const char *funzione);

    // ------------------------------------------------ statements (scrittoreistruzioni.cpp)
    void select(int si, const std::vector<TipoCampo> *suggeriti, const std::vector<TipoJet> *tipi = nullptr);
    void corpoSelect(int si, const std::vector<TipoCampo> *suggeriti, const std::vector<TipoJet> *tipi);
    std::vector<TipoJet> tipiUnione(int si);
    void raggruppaRighe(int si);
    void fontiUsate(int e, std::vector<const Fonte *> &usate);
    template <typename Scrivi>
    void elenco(const char *parola, int primo, Scrivi scrivi);
    void clausola(const char *parola, int e);
    void ordine(int o);
    void tabella(int t, bool destra);
    void inserisci();
    void assegnazioni(int si, const TabellaCatalogo *cat);
    void aggiorna();
    void elimina();
    bool soloBersaglio(int e, const Fonte *b, bool obbligatorio);
    void congiunti(int e, std::vector<int> &out) const;
    template <typename Testa>
    void chiaveInGiunzione(int si, const Fonte &b, Testa testa);

    const Albero &m_a;
    MotoreDb m_m;
    Catalogo &m_c;
    std::vector<std::vector<Fonte>> m_fonti;
    std::vector<bool> m_fontiPronte;
    std::vector<std::optional<Risolta>> m_risolte;
    std::vector<int8_t> m_tipi; // TipoJet + 1 per node, 0 not worked out yet
    std::vector<const FirmaJet *> m_firme; // per function node, once looked up
    Uscita m_o;
    QStringView m_qualDa;
    QString m_qualA;
    int m_profondita = 0;
    int m_let = 0;
};

// One level of the writer's recursion; too many raise the "too complex" error.
class Profondita {
public:
    explicit Profondita(Scrittore &s);
    ~Profondita() { --m_s.m_profondita; }
    Profondita(const Profondita &) = delete;
    Profondita &operator=(const Profondita &) = delete;

private:
    Scrittore &m_s;
};

// PostgreSQL: a value used more than once is given a name in a subquery of its own, unless it
// is a column or a literal.
template <typename Valore, typename Corpo>
void Scrittore::usaDueVolteScritto(bool semplice, Valore valore, Corpo corpo)
{
    if (semplice) {
        corpo(valore);
        return;
    }
    const QString v = QStringLiteral("jet_v%1").arg(++m_let);
    w("(SELECT ");
    corpo([&] { w(v); });
    w(" FROM (SELECT ");
    valore();
    w(" AS ");
    w(v);
    w(") AS ");
    w(v);
    w("_l)");
}

template <typename Corpo>
void Scrittore::usaDueVolte(int e, TipoJet come, Corpo corpo)
{
    usaDueVolteScritto(semplice(e), [&] { valoreCome(e, come); }, corpo);
}

bool eConfronto(Op o);
bool nomeE(QStringView nome, const char *f);

} // namespace scrittura
