#pragma once
// The run's request kept in AppoggioTemp while the run lasts: one row per criterion and per
// exchange rate, under the user and the program id "scEvaOrdVen". Rows left behind mark a run
// that did not end normally, and are enough to rebuild the request.
//
// CreaAppoggioTemp, CancellaAppoggioTemp and ImportaAppoggioTemp have the signatures of the
// engine's services (ServiziEvasione), which forward to them.
#include "variant.h"

#include <QString>
#include <cstdint>

class scEvaOrdVen;

// Value kinds of a saved row: the column it goes to.
namespace TipoAppoggio {
inline constexpr int16_t Testo = 1;  // Valorestringa
inline constexpr int16_t Numero = 2; // Valorenumero
inline constexpr int16_t Data = 3;   // Valoredata (an empty date stored as Null)
} // namespace TipoAppoggio

// Stores one value; 0 when the row was inserted, 1 on any failure (nothing shown).
Variant InserAppoggioTemp(scEvaOrdVen &eva, const QString &psUtente, const QString &psProgramma,
                          const QString &psIdCampo, const Variant &pvValore, int16_t piTipo);
// The stored value, or the kind's default ("" for text, 0 for a number, the empty date
// 01/01/100 for a date, "~" for another kind) when it is not stored. Errors reach the caller.
Variant LeggiAppoggioTemp(scEvaOrdVen &eva, const QString &psUtente, const QString &psPrg, const QString &psIdCampo,
                          int16_t piTipo);
// Deletes the user's rows of the program; 0 when done, 1 after a failure (shown to the user).
Variant CancellaAppoggioTemp(scEvaOrdVen &eva, const QString &psUtente, const QString &psProgramma);
// Saves the engine's request (26 criteria, then the rates of ogCambi) under the current user;
// 0 when every row was stored, else 1 after a message.
int16_t CreaAppoggioTemp(scEvaOrdVen &eva);
// Reads the request saved under the user back into the engine; rates join ogCambi. 0; errors
// reach the caller.
int16_t ImportaAppoggioTemp(scEvaOrdVen &eva, const QString &psTerminaleMenu);
