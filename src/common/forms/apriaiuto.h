#pragma once
// Opening the lookup window: the user's own choices for the lookup (columns, pass-through SQL,
// picture panel of articles) are handed to the help component before it shows the window.
#include "variant.h"

#include <QString>
#include <cstdint>
#include <optional>

class QWidget;

// The picture settings of article lookups, read on the first article lookup and kept.
extern QString gsImmaginiArticoli; // personal "Articoli"/"Immagini" ("N")
extern QString gsDirImgArt;        // the pictures' folder
extern double gdImgRapVertOriz;    // height to width of the panel
extern bool gbImgDimReali;         // pictures in their real size
extern QString gsImgDove;          // side of the panel: "A" top, "B" bottom, "S" left, else right
extern int32_t glImgSpazio;        // room of the panel, in twips

// Opens the lookup window of the type over the active form. Key codes 113 to 123 (F2 to F12)
// and negative ones open it; any other opens nothing and answers Empty. The columns come from
// the personal "Help"/type & "Campi" (for accounts per kind), after `prefissoCampi`. The answer
// is the component's (1 when its first search found nothing while "RetZeroRec" is 1); on a
// choice the code and description are in the controls and `scelto` is True (-1).
Variant ApriAiuto(const QString &tipo, QWidget *codice, QWidget *descrizione, int16_t tasto,
                  const std::optional<Variant> &formatoConto, int16_t &scelto, const QString &prefissoCampi,
                  int16_t opzione, const QString &filtro);

// The kind of account a lookup searches ("1", "2", "3", or "0" for none) from the account
// format, the typed code and the key code: a numeric format is the kind (a negative one with
// F2 too, "-4" none; with another key the code's first letter decides); otherwise the format
// is an optional "x", an optional letter g/f/c (kinds 1/2/3) and a rest.
void AnalizzaFormato(const Variant &formato, const QString &testoCodice, const Variant &tasto, Variant &tipoConto);
