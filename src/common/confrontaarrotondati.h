#pragma once
// Equality of two amounts at a precision.
#include "variant.h"

// -1, 0 or 1 as the first value, rounded to the nearest multiple of 10^esponente (exponent -2:
// hundredths), is below, equal to or above the second rounded the same way. A Null second
// value gives 0 when the first is empty ("" or Empty) and 1 otherwise; a comparison that
// cannot be made (a Null first value) gives 1.
int16_t ConfrontaArrotondati(const Variant &primo, const Variant &secondo, int esponente);
