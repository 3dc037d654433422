#pragma once
// The check of a date text box when it loses the focus.
#include "variant.h"

#include <optional>

class QLineEdit;

inline constexpr int32_t kDataNonValida = -657434; // the serial of 01/01/100
inline constexpr int32_t kDataRifiutata = -2;

// The date check of the box's text. An empty box is accepted (0), except with date code -4 (a
// required date), where it is refused (-2). A text that is no date gives -657434; a date is
// written back as dd/mm/yyyy and gives its serial. With `mostraMessaggio` a refusal is shown;
// `messaggio`, when given, receives its text.
int32_t ControllaData(QLineEdit *casella, const Variant &codiceData, bool mostraMessaggio, Variant *messaggio);

// ControllaData, then the date against gsDataMinima ("Data troppo piccola", shown only when
// asked, and the result -657434). A refused date marks the box: marking mode 1 or 3 colours it
// glColErrore, mode 2 or 3 gives it the focus; an accepted one gets the normal colour
// (glColNormale when omitted). Every error is ignored. The result is the check's code.
int32_t ControllaCampoData(QLineEdit *casella, const Variant &codiceData, int16_t modoSegnala,
                           const std::optional<Variant> &coloreNormale = std::nullopt, Variant *messaggio = nullptr,
                           bool mostraMessaggio = false);
