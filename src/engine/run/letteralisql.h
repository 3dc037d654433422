#pragma once
// The literal forms the run's statements put values in: text, date, 16-bit and 32-bit numbers,
// each through the database library for the company connection's engine.
#include "utilgenerali.h"
#include "variant.h"

#include <QString>
#include <cstdint>

namespace sqlEva {

inline QString T(const QString &testo) { return UtilGenerali::SqlValore(Variant(testo), 8); }
inline QString D(const Variant &data) { return UtilGenerali::SqlValore(data, 7); }
inline QString I(const Variant &numero) { return UtilGenerali::SqlValore(numero, 2); }
inline QString L(const Variant &numero) { return UtilGenerali::SqlValore(numero, 3); }

// Whether a text or date criterion is given.
inline bool testoDato(const QString &testo) { return !UtilGenerali::Vuoto(Variant(testo), 8, 1, false); }
inline bool dataData(const Variant &data) { return !UtilGenerali::Vuoto(data, 7, 1, false); }

} // namespace sqlEva
