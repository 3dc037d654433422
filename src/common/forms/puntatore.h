#pragma once
// The screen's mouse pointer by the run-time's numbers (0 the default pointer, 11 the
// hourglass), and the hourglass helper.
#include <cstdint>

inline constexpr int16_t kPuntatorePredefinito = 0;
inline constexpr int16_t kClessidra = 11;

int16_t MousePointer();
void ImpostaMousePointer(int16_t puntatore);

// On: the hourglass, the pointer in use saved first (a second switch-on while the hourglass
// shows saves nothing). Off: the saved pointer back.
void Clessidra(bool acceso);
