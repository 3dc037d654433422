#pragma once
// Transactions on the company connection, the field write with the empty-date convention, and
// the existence checks of tables and columns.
//
// Transactions nest as the database library nests them (inner levels are savepoints); a
// commit or rollback with nothing open does nothing. On a connection whose setting
// name & ":DbTipoSql" is True (an SQL-server connection) begin switches the connection to
// uncommitted reading and commit and rollback switch it back; the statements are never sent to
// PostgreSQL, which refuses them once a transaction has read anything.
#include "variant.h"

#include <QString>

class ConnessioneDb;
class GestRecordset;

// Every caller passes (0, True, no connection, True, ""), which selects ggDbAzienda and
// gsNomeConn. A failing begin, commit or rollback raises; a failing isolation statement is
// ignored. The result is always Empty.
Variant IniziaTransazione(const Variant &areaDiLavoro = Variant(static_cast<int16_t>(0)), bool opzione = true,
                          ConnessioneDb *connessione = nullptr, bool connAzienda = true,
                          const QString &nomeConn = QString());
Variant ConfermaTransazione(const Variant &areaDiLavoro = Variant(static_cast<int16_t>(0)), bool opzione = true,
                            ConnessioneDb *connessione = nullptr, bool connAzienda = true,
                            const QString &nomeConn = QString());
Variant AnnullaTransazione(const Variant &areaDiLavoro = Variant(static_cast<int16_t>(0)), bool opzione = true,
                           ConnessioneDb *connessione = nullptr, bool connAzienda = true,
                           const QString &nomeConn = QString());

// Writes one field of the alias's current row (put into editing or adding by the caller): a
// value that reads "01/01/100", the missing date, is written as the empty text (a date field
// then holds nothing); any other value as it is. Errors reach the caller.
void ImpostaCampo(GestRecordset &gestore, const QString &alias, const QString &campo, const Variant &valore);

// Whether the open company database has the table, or the table and its column. Never raise:
// any failure (no connection, no database) answers False. "" names the company connection.
bool EsisteCampo(const Variant &tabella, const Variant &campo, const QString &nomeConn = QString());
bool EsisteTabella(const Variant &tabella, const QString &nomeConn = QString());
