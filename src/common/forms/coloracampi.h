#pragma once
// Background colours of the fields: the focus colour on the field being edited, the error colour
// on a wrong one (kept through focus changes until its check clears it), and the colouring of
// the prefix and VAT-register boxes by their checks.
#include <cstdint>

class QWidget;

// The field gets glColBackGotFocus, unless it shows glColErrore and force is False. First, when
// the two focus colours differ, every element of the array "txt" of the field's form that still
// shows the focus colour gets glColBackLostFocus back.
void ColoraCampoAttivo(QWidget *controllo, int16_t forza);
// The field gets glColBackLostFocus, unless it shows glColErrore and force is False.
void ColoraCampoLasciato(QWidget *controllo, int16_t forza);

// The box gets glColErrore when its text is no delivery-note prefix of the company (empty not
// allowed) / no sales VAT register (empty allowed), else glColNormale. The text is not changed.
void ColoraPrefDdt(QWidget *casella);
void ColoraRegIvaVen(QWidget *casella);
