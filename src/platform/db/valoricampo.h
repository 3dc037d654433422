#pragma once
// Field values between the engines' storage and the program's Variant, by the field's declared
// type: SQLite keeps dates as ISO text and currency as its ten-thousandths in an INTEGER (exact
// over the whole currency range), PostgreSQL hands numeric and double values over as decimal
// text; both give Null as a null value.
#include "motoredb.h"
#include "tipicampo.h"
#include "variant.h"

#include <QMetaType>
#include <QVariant>

// The stored value as the program sees it (Null kept). A column of unknown type is read by
// the type of the value itself.
Variant daMotore(const QVariant &v, TipoCampo tipo);

// The value to bind for a write of the field: Null, Empty or "" into a field that is not text
// store Null; otherwise the value converted to the field's type (errors 6 and 13 as the run-time
// raises them). Currency goes to PostgreSQL as exact decimal text and to SQLite as ten-thousandths;
// dates to SQLite as ISO text.
QVariant versoMotore(const Variant &v, TipoCampo tipo, MotoreDb motore);

// A typed null for the field, as ODBC wants parameters typed.
QVariant nulloPer(TipoCampo tipo, MotoreDb motore);

// The neutral value of a field type (0, "", the zero date), for reads of Null fields.
Variant neutro(TipoCampo tipo);
// The neutral value for a type code of the suite (2, 3, 4, 5, 6, 7, 8, 11); Empty for others.
Variant neutroCodice(int16_t codice);

// The field type suggested by a column's reported meta type, for computed columns.
TipoCampo tipoDaMeta(QMetaType m);
