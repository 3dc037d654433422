#pragma once
// Opening the company database with the right login.
#include "rifoggetto.h"

#include <QString>

class ConnessioneDb;

// Connects `conn` (created when it holds nothing) to the database `nomeDb` with its extra
// connect text, and returns the connection's name. ODBC sources given by file or by name log in
// with the connection's "DbSqlPubUID"/"DbSqlPubPWD", taken from the menu parameters "SqlLogin"
// and "SqlPwd" when the password setting is empty; a complete ODBC text and a database file get
// `password` as "DbAccPWD".
//
// A refused SQL login asks "Utente o password non validi per SQL": "&Riprovare" tries again with
// the same settings, "&Annulla" gives "". A wrong database password gives "Err: 3031" after its
// message, any other failure "Err: " & its number after the standard error dialog. A file that
// is not a database (3343) reaches the caller, whose handler offers to recover it.
QString LoginDbSql(RifOggetto<ConnessioneDb> &conn, const QString &nomeDb, const QString &password,
                   const QString &connetti);
