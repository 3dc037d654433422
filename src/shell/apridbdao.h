#pragma once
// The second opening of the company database, for the help component.
#include <QString>
#include <memory>

class ConnessioneDb;

// A connection of its own to the database of `nome` in its four forms: a complete ODBC text as
// it is (no login added), a file data source (the keys of the file) or a data-source name
// ("ODBC;DSN=" & name) with the login "UID=" & user [";PWD=" & password] when a user is given,
// or the database file. Login values are quoted for the connect text, never spliced in. Errors
// reach the caller.
std::shared_ptr<ConnessioneDb> ApriDbDao(const QString &nome, const QString &utente, const QString &password);

// The login part of an ODBC connect text: empty without a user.
QString testoLoginOdbc(const QString &utente, const QString &password);
