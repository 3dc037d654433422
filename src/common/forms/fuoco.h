#pragma once
// Focus and text selection in the active form.
#include "variant.h"

#include <optional>

class QWidget;

// Selects the whole text of the active control (text boxes call it when they get the focus);
// errors are ignored.
void SelezionaTesto();

// Moves the focus `passo` tab positions from the active control (backwards with a negative
// step; with a shift state the step is its absolute value, negated for shift 1), wrapping at
// the ends and passing over positions that are no tab stop, picture boxes and controls that
// refuse the focus (disabled or hidden). True when the focus moved.
bool SpostaFuoco(int16_t passo, const std::optional<int16_t> &shift = std::nullopt);

// On the form: focus to element `indice` of the control array txtAppo (flag not 0) or txt
// (flag 0), pending window events run, then the form's handler txtAppo_KeyUp or txt_KeyUp
// called with (index, key code, shift 0). A missing element raises 340, a missing handler 438.
// The result is Empty.
Variant EseguiKeyUpAppo(QWidget *form, int16_t indice, int16_t codiceTasto, int16_t appoggio);
