#pragma once
// Pieces of ODBC connect texts. Values the PostgreSQL driver reads between braces (the driver
// name and the password) are braced when they hold a character that would end the key or open
// another, "}" doubled; other values with such a character are refused (error 5), never spliced in.
#include <QString>

QString valoreOdbcTraGraffe(const QString &valore);
QString valoreOdbcSemplice(const QString &valore, const QString &chiave);

// Whether the connect text already names the key (letter case ignored).
bool testoOdbcHaChiave(const QString &testo, const QString &chiave);
// The value of the key in the connect text, braces taken off ("}}" read as "}"); "" when the key
// is missing.
QString valoreTestoOdbc(const QString &testo, const QString &chiave);

// The connect text of an ODBC file data source: the keys of its [ODBC] section in order
// ("DRIVER={...};SERVERNAME=...;..."), since the driver manager here does not read such files
// itself. A missing file raises 53; a value that would break the text is refused (error 5).
QString testoFileDsn(const QString &percorso);
