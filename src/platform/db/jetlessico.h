#pragma once
// The tokens of a statement in the suite's SQL dialect (Jet's): names, [bracketed names],
// numbers, 'text' and "text" literals, #date# literals, operators and punctuation.
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

enum class Tk : uint8_t {
    Fine,
    Nome,       // identifier or keyword
    Numero,
    Testo,      // '...' or "..."; the quotes are part of the token
    DataLett,   // #...#; the hashes are part of the token
    Op,         // = <> != < > <= >= + - / \ ^ &
    Stella,     // *
    ParAperta,
    ParChiusa,
    Virgola,
    Punto,
    PuntoVirgola,
};

// Keywords, recognised ignoring letter case.
enum class Kw : uint8_t {
    Nessuna, Select, Distinct, DistinctRow, All, Top, Percent, As, From, Where, Group, By, Having, Order,
    Asc, Desc, Union, Insert, Into, Values, Update, Set, Delete, Join, Left, Right, Inner, Outer, On, And,
    Or, Xor, Not, Is, Null, Like, Between, In, Exists, True, False, Mod, Date, Timestamp, Escape,
};

// Operators, told apart once by the tokenizer.
enum class OpTk : uint8_t { Nessuno, Uguale, Diverso, Minore, Maggiore, MinoreUguale, MaggioreUguale, Piu, Meno, Diviso,
                            DivisioneIntera, Potenza, Concatena };

struct Token {
    Tk tipo = Tk::Fine;
    Kw parola = Kw::Nessuna;
    OpTk op = OpTk::Nessuno;
    int inizio = 0;
    int lunghezza = 0;
};

// Splits the text; raises the syntax error (3075) on an unterminated literal or a character
// that has no place in a statement.
std::vector<Token> tokenizza(QStringView sql);

// The value of a text literal token: the quotes removed and doubled quotes made single.
QString valoreTesto(QStringView token);
