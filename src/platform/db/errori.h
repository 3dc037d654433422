#pragma once
// The database errors in the numbering the suite's callers test (Jet's), with Italian
// descriptions, and the classification of what the engines report.
#include "apperror.h"
#include "motoredb.h"

#include <QString>
#include <cstdint>

namespace ErrDb {
inline constexpr int32_t ChiaveDuplicata = 3022;    // duplicate value in a unique key
inline constexpr int32_t FileNonTrovato = 3024;     // database file not found
inline constexpr int32_t SolaLettura = 3027;        // record set or field not updatable
inline constexpr int32_t PasswordNonValida = 3031;  // wrong database password
inline constexpr int32_t AccessoNegato = 3059;      // server login refused
inline constexpr int32_t ParametriInsufficienti = 3061; // a statement names a field no table has
inline constexpr int32_t CampoSconosciuto = 3070;   // criterion names no field of the set
inline constexpr int32_t TabellaInesistente = 3078; // a statement names a table the database lacks
inline constexpr int32_t Sintassi = 3075;           // statement the translator cannot read
inline constexpr int32_t FunzioneSconosciuta = 3085; // a function the dialect does not have
inline constexpr int32_t NessunRecordCorrente = 3021;
inline constexpr int32_t SenzaAddNewEdit = 3020;    // Update or a field write without AddNew/Edit
inline constexpr int32_t RecordEliminato = 3167;
inline constexpr int32_t CampoTroppoPiccolo = 3163;
inline constexpr int32_t OdbcFallito = 3146;        // any other failure of the engine
inline constexpr int32_t ModificatoDaAltri = 3197;  // changed by another user since it was read
inline constexpr int32_t Bloccato = 3260;           // locked by another user
inline constexpr int32_t ElementoNonTrovato = 3265; // no field (or table) of that name
inline constexpr int32_t NonDatabase = 3343;        // the file is not a database
} // namespace ErrDb

// An error of the library with its standard Italian description; `dettaglio` (the engine's own
// message, a name) is appended when given.
AppError erroreDb(int32_t numero, const QString &dettaglio = {});
AppError erroreSintassi(const QString &dettaglio);

// What an engine reported for a failed statement.
struct GuastoMotore {
    MotoreDb motore = MotoreDb::SQLite;
    int codiceSqlite = 0;   // SQLite extended result code
    QString statoSql;       // SQLSTATE of the ODBC diagnostic (PostgreSQL)
    QString messaggio;      // the engine's text
};

// The Jet number of an engine failure: locked 3260, deadlock 3260, serialisation 3197,
// duplicate key 3022, not a database 3343, value too long 3163; the run-time's errors of
// Jet's arithmetic and functions (the library's own "Jet:<n>", overflow 6, division by zero
// 11, wrong type 13, invalid argument 5); a statement beyond the engine's limits 3075;
// anything else 3146.
int32_t numeroJet(const GuastoMotore &g);
// The error to raise for it: the run-time's and Jet's own numbers with their Italian text
// alone, any other failure with the engine's message.
AppError erroreMotore(const GuastoMotore &g);

// A refused login's text from the PostgreSQL ODBC driver (which reports every connection
// failure under the same SQLSTATE): true when the server refused the user or the password.
bool eAccessoNegato(const QString &messaggio);
