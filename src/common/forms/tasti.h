#pragma once
// Keys as the program's handlers see them: the run-time's key codes of tastivb.h (13 Enter,
// 27 Esc, 33-40 paging and arrows, 65-90 letters, 110 the keypad point, 112-123 F1-F12, 92 the
// right Windows key) with the shift state (1 Shift, 2 Ctrl, 4 Alt, added up), and characters as
// their codes (13 Enter, 27 Esc).
//
// A form that sees the keys before its controls (KeyPreview) implements TastiForm: for every key
// pressed in any of its controls Form_KeyDown runs first (a key code set to 0 consumes the key),
// then, for a key that types a character, Form_KeyPress (a character set to 0 is dropped, another
// character is typed in its place).
#include "tastivb.h"

#include <cstdint>

class QWidget;

namespace Tasto {
inline constexpr int16_t Invio = 13, Esc = 27, PagSu = 33, PagGiu = 34, Fine = 35, Inizio = 36, Su = 38, Giu = 40;
inline constexpr int16_t F = 70, S = 83, WinDestro = 92, PuntoTastierino = 110, F1 = 112, F2 = 113, F10 = 121;
} // namespace Tasto

class TastiForm {
public:
    virtual ~TastiForm();
    virtual void Form_KeyDown(int16_t &KeyCode, int16_t Shift) = 0;
    virtual void Form_KeyPress(int16_t &KeyAscii) = 0;
};

// Switches the form's key preview on or off (the form must implement TastiForm; the
// controls added later are covered too).
void ImpostaKeyPreview(QWidget *form, bool attivo);
bool KeyPreview(const QWidget *form);
