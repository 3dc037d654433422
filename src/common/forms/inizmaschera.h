#pragma once
// The standard set-up of every form: InizMaschera first in its load handler, AdattaRisVid last.
// The first gives the form and its controls the company's background colour, shows the loading
// notice, puts the company in the caption, lets the form see keys before its controls (the form
// implements TastiForm), applies the read-only switch of the launch and computes the screen
// factor; the second opens the form maximised when the terminal asks it, closes the notice and
// fits the form to the screen.
//
// Form members reached by name: "osParam" (the launch switches, also a FormProgramma member)
// and "oiAbilRW" (1 read and write, 0 read only), as properties. Controls are the form's named
// child widgets; a control's background is the BackColor of colori.h, and a control that has none
// set counts as designed with the button face (labels, buttons, frames) or the window background
// (fields, lists, grids). Flags are the run-time's 16-bit Booleans (True -1).
#include "risvid.h"
#include "variant.h"

#include <QString>
#include <cstdint>
#include <optional>

class QWidget;

// Title & " - " & the text, or & the company's description when no text is given.
Variant TitoloConDitta(const QString &titolo, const std::optional<Variant> &testo = std::nullopt);

// Flags 2, 3, 4 and 6: the form has the paging objects ogComPag, ogComlin, ogLinPag, ogLisPag
// (with ogComlin); 8 -1 applies the read-only switch; 9 0 shows the loading notice; 10 not 0
// computes the screen factor; `esclusioni` names the controls that keep their colour, each
// followed by a comma ("lab1,cmdOk,").
void InizMaschera(QWidget *form, int16_t conComPag, int16_t conComlin, int16_t conLinPag, int16_t,
                  int16_t conLisPag, int16_t, int16_t solaLettura, int16_t senzaAvviso, int16_t fattore,
                  const QString &esclusioni);

// Flags as InizMaschera's; 8 0 closes the loading notice; 9 not 0 fits the form, leaving the
// control of the exception alone when one is given.
void AdattaRisVid(QWidget *form, int16_t conComPag, int16_t conComlin, int16_t conLinPag, int16_t, int16_t conLisPag,
                  int16_t, int16_t tieniAvviso, int16_t adatta,
                  const std::optional<EccezioneRisVid> &eccezione = std::nullopt);
