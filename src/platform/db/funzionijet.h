#pragma once
// The functions of the suite's SQL dialect that the library runs, with Jet's meaning: the
// list the translator accepts (any other name is refused with 3085), the type of each result,
// and their evaluation on values, shared by the criteria of the record sets and by the engine
// functions registered on SQLite. Aggregates are the engines' own and are not evaluated here.
#include "tipijet.h"
#include "variant.h"

#include <QStringView>
#include <cstdint>
#include <vector>

enum class FnJet : uint8_t {
    // aggregates
    Count, Sum, Avg, Min, Max,
    // conditions and Null
    IIf, Nz, IsNull,
    // texts
    Len, Left, Right, Mid, UCase, LCase, Trim, LTrim, RTrim, Space, InStr,
    // conversions
    Val, CStr, CLng, CInt, CDbl, CCur,
    // numbers
    Int, Fix, Abs, Sgn, Round,
    // dates
    Year, Month, Day, Hour, Minute, Second, Weekday, DateSerial, DateAdd, DateDiff, Date, Now,
    Format,
};

struct FirmaJet {
    FnJet id;
    const char *nome;
    int8_t minimo, massimo; // arguments
};

// The function of that name (letter case ignored); nullptr when the dialect has none the
// library runs.
const FirmaJet *funzioneJet(QStringView nome);
bool aggregata(FnJet f);

// The result's type, from the arguments' types.
TipoJet tipoFunzioneJet(FnJet f, const std::vector<TipoJet> &argomenti);

// The call on values (not for aggregates). Errors as Jet raises them: 94 for a Null where a
// value is needed, 5 for an argument out of range, 6 for an overflow, 13 for a wrong type.
Variant chiamaFunzioneJet(FnJet f, const std::vector<Variant> &argomenti);

// The unit of a DateAdd or DateDiff interval text ("yyyy", "q", "m", "y", "d", "w", "ww",
// "h", "n", "s"); nullopt for another text.
enum class IntervalloJet : uint8_t { Anno, Trimestre, Mese, GiornoAnno, Giorno, GiornoSettimana, Settimana, Ora, Minuto, Secondo };
std::optional<IntervalloJet> intervalloJet(QStringView testo);

// Val: the number at the start of the text, "." as the decimal point, blanks skipped.
double valJet(QStringView testo);
