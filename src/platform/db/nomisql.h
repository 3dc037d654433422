#pragma once
// Names of tables, fields and aliases as they go into a statement for the engine: a plain
// name that no engine reserves goes as written; any other (a bracketed name with blanks or
// signs, a reserved word, letters outside ASCII) goes quoted in the engine's form, with the
// letter case PostgreSQL gives the unquoted names the schema was created with.
#include "motoredb.h"

#include <QString>
#include <QStringView>

QString nomeSql(QStringView nome, MotoreDb motore);
// Whether the name must be quoted.
bool nomeDaQuotare(QStringView nome);
