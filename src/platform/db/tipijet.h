#pragma once
// The types of the values of the suite's SQL dialect as Jet gives them, and the rules for the
// type of an operation's result. The translator works them out from the statement and writes
// each value in its engine's form of that type; the engines' own functions of the library
// (SQLite) read and write values by the same types, so both sides agree on every value.
#include "jetalbero.h"
#include "tipicampo.h"
#include "variant.h"

#include <QChar>
#include <cstdint>

enum class TipoJet : uint8_t {
    Ignoto,  // not known from the statement: the value tells
    Null,    // the Null literal
    Logico,  // a condition used as a value: -1 or 0
    Intero,  // 16-bit
    Lungo,   // 32-bit
    Valuta,  // four decimals, exact (SQLite keeps ten-thousandths in an INTEGER)
    Doppio,  // binary floating point
    Data,    // date and time
    Testo,
};

// One letter per type, as the engine functions receive them: ? N B I L C F D T.
char letteraTipo(TipoJet t);
TipoJet tipoDaLettera(char c);

bool numerico(TipoJet t); // Logico, Intero, Lungo, Valuta, Doppio

// The type of a column of the catalogue.
TipoJet tipoDaCampo(TipoCampo t);
// The field type the record sets read a computed column of this type with.
TipoCampo campoDaTipo(TipoJet t);
// The type a value holds.
TipoJet tipoDiValore(const Variant &v);

// The result of a binary operator (+ - * / \ Mod ^ &) on operands of these types.
TipoJet tipoOperazione(Op op, TipoJet a, TipoJet b);
// The result of a sign.
TipoJet tipoNegazione(TipoJet a);
// The type of a value that may come from either of two expressions (IIf, Nz): numbers widen,
// Null takes the other's type, a text and anything else give a text.
TipoJet tipoComune(TipoJet a, TipoJet b);

// A number literal of a statement with the type Jet gives it: whole numbers as Integer, Long
// or (beyond) Double; a decimal with at most four decimals within the currency range exact (as
// currency, so that 1.1 + 2.2 is 3.3); any other a Double.
Variant numeroLetteraleJet(QStringView testo);

// The value made of the type: numbers converted as CInt, CLng, CCur, CDbl do (halves to even,
// overflow 6), dates as CDate, texts as CStr; Null stays Null; Ignoto leaves it as it is.
Variant comeTipo(const Variant &v, TipoJet t);
