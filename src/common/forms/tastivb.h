#pragma once
// Keys in the run-time's terms, for the forms' key handlers: the key code of the Windows
// virtual keys (F1 112, Enter 13, Esc 27, "A" 65 ...) and the shift state (1 Shift, 2 Ctrl,
// 4 Alt, added together).
#include <Qt>
#include <cstdint>

class QKeyEvent;

inline constexpr int16_t kShiftMaiusc = 1;
inline constexpr int16_t kShiftCtrl = 2;
inline constexpr int16_t kShiftAlt = 4;

// The key code of the event's key; 0 for a key the run-time has no code for.
int16_t KeyCodeVb(const QKeyEvent &evento);
int16_t ShiftVb(Qt::KeyboardModifiers modificatori);
