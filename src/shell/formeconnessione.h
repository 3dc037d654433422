#pragma once
// The four forms of a company database's connect text, told apart in this order (letter case
// ignored): a complete ODBC text ("ODBC;..."), an ODBC file data source ("....dsn"), an ODBC
// data-source name (no "." at all), and the path of a database file (anything else).
#include "testoodbc.h" // connect-text pieces: valoreOdbcTraGraffe, valoreOdbcSemplice, testoFileDsn

#include <QString>

enum class FormaConnessione { TestoOdbc = 1, FileDsn = 2, NomeDsn = 3, FileDb = 4 };

FormaConnessione formaConnessione(const QString &testo);

// True for the three ODBC forms.
bool EConnOdbc(const QString &testo);
// True for a database file.
bool EDbOdbc(const QString &testo);

