#pragma once
// Jet's arithmetic on values, for the criteria a record set evaluates and for the engine
// functions that run it inside SQLite: Null gives Null ("&" only when every operand is Null),
// whole numbers are 32-bit and overflow with error 6, currency is exact, "\" and Mod round
// their operands to whole numbers first, a division by zero raises 11.
#include "jetalbero.h"
#include "variant.h"

// a op b for + - * / \ Mod ^ &.
Variant operaJet(Op op, const Variant &a, const Variant &b);
// -a.
Variant negaJet(const Variant &a);
// The text a value gives in a concatenation or CStr: numbers with the decimal comma, dates as
// "dd/mm/yyyy", a condition's value as -1 or 0, Null as "".
QString testoJet(const Variant &v);
