#pragma once
// Number reading that does not depend on the process locale. The company's settings and
// the users type Italian numbers ("1936,27"); other texts carry a decimal point ("1.06").
#include <QString>
#include <optional>

// The whole text as a number. "," or "." is the decimal sign; when both appear, the last
// one is the decimal sign and the other groups thousands ("1.234,5" and "1,234.5" are
// 1234.5); a lone "." followed by exactly three digits in a longer run of groups
// ("1.234.567") groups thousands. Leading and trailing blanks, a sign, an exponent and one
// trailing type suffix (#, !, @, %, &) are accepted. nullopt when the text is not a number.
std::optional<double> parseNumber(QStringView text);

// The number at the start of the text, as the run-time's Val reads it but accepting "," as
// well as "." for the decimal sign: it stops at the first character that cannot continue
// the number and gives 0 when there is none ("1.06" is 1.06, "1,07 beta" is 1.07).
double leadingNumber(QStringView text);
