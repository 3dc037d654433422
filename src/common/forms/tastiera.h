#pragma once
// The keyboard behaviour every form shares. A form's Form_KeyDown calls GestTastiCtrl and, when
// its answer is not above 0, GestTastiNavig; its Form_KeyPress takes the answer of FiltraTasto
// as the character:
// - F1 opens the help;
// - Ctrl and Ctrl+Shift shortcuts go to the menu server ("TastiCtrl"), which may handle them or
//   answer a text for the field;
// - Ctrl+Alt with F, S, PgUp and PgDn find and replace text in a text box;
// - Enter moves to the next field (Shift+Enter to the previous one), except in a multi-line box
//   whose text is not wholly selected and in a data grid;
// - the keypad point types a comma when the user asks it ("TastierinoVirgola"); Esc never reaches
//   a control as a character, and Enter only inside such a multi-line box.
#include "paginazione.h"
#include "variant.h"

#include <QString>
#include <cstdint>

class QWidget;

// Shared by all forms for the life of the program.
extern int16_t giUltimoTasto;  // key code of the last key-down seen by GestTastiCtrl (F1 excepted)
extern int16_t giUltimoShift;  // its shift state
extern bool gbInvioNelCampo;   // an Enter belongs to a multi-line text box

struct DatiTrovaSostituisci {
    QString Cerca;        // the last text sought
    QString Sostituisci;  // the last replacement
    Variant Confronto;    // 1 letter case ignored, 0 exact; Empty counts as 1
};
extern DatiTrovaSostituisci TrovaSostituisci;

// The character to keep (0 drops it).
Variant FiltraTasto(int16_t KeyAscii, QWidget *form, int16_t = 0, int16_t = 0, int16_t = 0, int16_t = 0, int16_t = 0,
                    int16_t = 0, int16_t = 0);

// Key-down handling: 1 when the key was handled (and then, when it is consumed, the key code is
// 0), else 0. `invioEsceDaGriglia` -1 lets Enter leave a data grid; `invioRestaNelMultiRiga` not
// 0 keeps Enter inside a multi-line box whose text is not wholly selected.
Variant GestTastiCtrl(int16_t &KeyCode, int16_t Shift, QWidget *form, int16_t = 0, int16_t = 0, int16_t = 0,
                      int16_t = -1, int16_t = 0, int16_t = 0, const Variant & = {}, int16_t invioEsceDaGriglia = 0,
                      int16_t invioRestaNelMultiRiga = -1);
