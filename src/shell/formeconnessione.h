#pragma once
// The four forms of a company database's connect text, told apart in this order (letter case
// ignored): a complete ODBC text ("ODBC;..."), an ODBC file data source ("....dsn"), an ODBC
// data-source name (no "." at all), and the path of a database file (anything else).
#include <QString>

enum class FormaConnessione { TestoOdbc = 1, FileDsn = 2, NomeDsn = 3, FileDb = 4 };

FormaConnessione formaConnessione(const QString &testo);

// True for the three ODBC forms.
bool EConnOdbc(const QString &testo);
// True for a database file.
bool EDbOdbc(const QString &testo);

// A value for a key of an ODBC connect text. Values the driver reads between braces (the
// password) are braced when they hold a character that would end the key or open another,
// "}" doubled; other values with such a character are refused (error 5), never spliced in.
QString valoreOdbcTraGraffe(const QString &valore);
QString valoreOdbcSemplice(const QString &valore, const QString &chiave);

// The connect text of an ODBC file data source: the keys of its [ODBC] section in order
// ("DRIVER={...};SERVERNAME=...;..."), since the driver manager here does not read such files
// itself. A missing file raises 53; a value that would break the text is refused (error 5).
QString testoFileDsn(const QString &percorso);
