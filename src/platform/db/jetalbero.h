#pragma once
// The syntax tree of one statement in the suite's SQL dialect. Nodes live in one vector and
// point at each other by index; lists chain through `seguente`. Names and literals point back
// at their tokens, so the tree holds no copies of the text.
#include "jetlessico.h"

#include <QStringView>
#include <cstdint>
#include <vector>

enum class Nd : uint8_t {
    // expressions
    Null, Vero, Falso, Numero, Testo, Data,
    Colonna,     // tok: name, tok2: qualifier or -1; s: the SELECT whose names it sees (-1 none)
    Stella,      // tok2: qualifier or -1 ("*" or "T.*")
    Unario,      // op: Op::Meno, Op::Piu, Op::Not; a
    Binario,     // op; a, b
    ENull,       // a IS [NOT] NULL (neg)
    Tra,         // a [NOT] BETWEEN b AND c
    InLista,     // a [NOT] IN (b, ...)
    InSelect,    // a [NOT] IN (select s)
    Esiste,      // EXISTS (select s)
    Funzione,    // tok: name; a: first argument; neg: DISTINCT; op 1: count(*)
    SottoSelect, // (select s) as a value
    // clauses
    Voce,        // select item: a expression or Stella, tok2 alias
    Ordine,      // a expression, neg DESC
    Tabella,     // tok name, tok2 alias
    Unione,      // op: join kind; a left, b right, c condition
    Derivata,    // (select s) AS tok2
    Assegna,     // a column, b value
};

enum class Op : uint8_t {
    Nessuno,
    Or, Xor, And, Not,
    Uguale, Diverso, Minore, Maggiore, MinoreUguale, MaggioreUguale, Like,
    Concatena, Piu, Meno, Modulo, DivisioneIntera, Per, Diviso, Potenza,
};

enum class Giunzione : uint8_t { Interna, Sinistra, Destra };

struct Nodo {
    Nd tipo = Nd::Null;
    Op op = Op::Nessuno;
    bool neg = false;
    uint8_t extra = 0; // Data: 1 for a typed DATE/TIMESTAMP literal; Unione: Giunzione; Funzione: 1 count(*)
    int a = -1, b = -1, c = -1;
    int seguente = -1;
    int tok = -1, tok2 = -1;
    int s = -1; // select index
};

struct SelectAlbero {
    bool distinta = false;
    bool distintaRighe = false; // DISTINCTROW: whole source rows, not the selected values
    int top = -1;      // token of the TOP number
    int voci = -1;     // list of Voce
    int da = -1;       // list of table references (comma-separated)
    int dove = -1;
    int gruppo = -1;   // list of expressions
    int avendo = -1;
    int ordine = -1;   // list of Ordine
    int unione = -1;   // next select of a UNION
    bool unioneTutti = false;
    int padre = -1;    // enclosing select, for correlated names
};

enum class TipoIstruzione : uint8_t { Select, Insert, Update, Delete, Altro };

struct Istruzione {
    TipoIstruzione tipo = TipoIstruzione::Altro;
    int select = -1;    // SELECT, or the source of INSERT ... SELECT
    int tabella = -1;   // target (Tabella, or a join tree for UPDATE/DELETE)
    int colonne = -1;   // INSERT column list (Colonna nodes)
    int valori = -1;    // INSERT ... VALUES expressions
    int assegna = -1;   // UPDATE SET list
    int dove = -1;      // UPDATE/DELETE condition
    int qualDelete = -1; // token of T in DELETE T.*
};

struct Albero {
    QStringView sql;
    std::vector<Token> token;
    std::vector<Nodo> nodi;
    std::vector<SelectAlbero> select;
    Istruzione istruzione;

    QStringView testo(int t) const
    {
        const Token &k = token[static_cast<size_t>(t)];
        return sql.mid(k.inizio, k.lunghezza);
    }
    // A name token without the brackets of [name].
    QStringView nome(int t) const
    {
        QStringView v = testo(t);
        if (v.size() >= 2 && v.front() == QLatin1Char('['))
            return v.mid(1, v.size() - 2);
        return v;
    }
    const Nodo &n(int i) const { return nodi[static_cast<size_t>(i)]; }
};

// Reads a whole statement; raises the syntax error (3075) when it does not follow the dialect.
// Statements other than SELECT, INSERT, UPDATE and DELETE are left unread (TipoIstruzione::Altro).
Albero analizza(QStringView sql);
// Reads a bare expression, such as a record-set search criterion.
Albero analizzaEspressione(QStringView testo, int &radice);
