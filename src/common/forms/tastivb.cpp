#include "tastivb.h"

#include <QKeyEvent>

namespace {

int16_t codiceTastierino(int tasto)
{
    if (tasto >= Qt::Key_0 && tasto <= Qt::Key_9)
        return static_cast<int16_t>(96 + (tasto - Qt::Key_0));
    switch (tasto) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period:
    case Qt::Key_Comma: return 110;
    case Qt::Key_Slash: return 111;
    default: return 0;
    }
}

} // namespace

int16_t KeyCodeVb(const QKeyEvent &evento)
{
    const int tasto = evento.key();
    if ((evento.modifiers() & Qt::KeypadModifier)) {
        if (const int16_t c = codiceTastierino(tasto))
            return c;
    }
    if (tasto >= Qt::Key_A && tasto <= Qt::Key_Z)
        return static_cast<int16_t>(65 + (tasto - Qt::Key_A));
    if (tasto >= Qt::Key_0 && tasto <= Qt::Key_9)
        return static_cast<int16_t>(48 + (tasto - Qt::Key_0));
    if (tasto >= Qt::Key_F1 && tasto <= Qt::Key_F24)
        return static_cast<int16_t>(112 + (tasto - Qt::Key_F1));
    switch (tasto) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Super_L: return 91;
    case Qt::Key_Super_R: return 92; // the right Windows key
    case Qt::Key_Menu: return 93;
    case Qt::Key_Plus: return 187;
    case Qt::Key_Comma: return 188;
    case Qt::Key_Minus: return 189;
    case Qt::Key_Period: return 190;
    default: return 0;
    }
}

int16_t ShiftVb(Qt::KeyboardModifiers modificatori)
{
    int16_t s = 0;
    if (modificatori & Qt::ShiftModifier)
        s |= kShiftMaiusc;
    if (modificatori & Qt::ControlModifier)
        s |= kShiftCtrl;
    if (modificatori & Qt::AltModifier)
        s |= kShiftAlt;
    return s;
}
