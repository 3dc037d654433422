#pragma once
// One key of the program's ini files: the ini entry chosen at start-up (gsIniScelta) first,
// then the main ini file (gsFileIni).
#include <QString>

// `valore` receives the key's value, or the default when the key is absent. The result is the
// library's status as text ("0" found, "1" default used); callers read the value.
QString LeggiIni(const QString &sezione, const QString &chiave, const QString &predefinito, QString &valore);
