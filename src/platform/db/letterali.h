#pragma once
// SQL literal forms of values, for each engine: the only way a value enters a statement text.
// Texts are single-quoted with quotes doubled (both engines read backslashes literally);
// a NUL character is refused; numbers always carry "." as the decimal point; dates are ISO
// texts on SQLite (as the schema stores them) and typed DATE/TIMESTAMP literals on PostgreSQL.
#include "motoredb.h"
#include "vbdate.h"

#include <QString>
#include <QStringView>
#include <optional>

QString letteraleTesto(QStringView testo);
QString letteraleDouble(double valore);
// The date; with `conOra` (or when the date carries a time of day) as a date and time.
QString letteraleData(const Date &data, MotoreDb motore, bool conOra = false);

// "yyyy-mm-dd" or "yyyy-mm-dd hh:mm[:ss]", exactly; nullopt otherwise. Fast: record sets
// read every SQLite date through it.
std::optional<Date> leggiDataIso(QStringView testo);
// The contents of a Jet date literal (#...#): month first ("03/05/2024" is 5 March), or ISO;
// with an optional time.
std::optional<Date> leggiDataJet(QStringView testo);
