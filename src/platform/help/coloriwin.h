#pragma once
// The colours of the run-time as Qt colours: 0x00BBGGRR, or a system colour when the top bit is
// set, its low byte the index of the platform's colour (5 window background, 15 button face...),
// which the application's palette supplies.
#include <QColor>
#include <QPalette>
#include <cstdint>

inline constexpr int32_t kColSistema = static_cast<int32_t>(0x80000000u);
inline constexpr int32_t kColSistemaFinestra = static_cast<int32_t>(0x80000005u);   // window background
inline constexpr int32_t kColSistemaPulsante = static_cast<int32_t>(0x8000000Fu);   // button face

bool coloreDiSistema(int32_t colore);
QColor coloreQt(int32_t colore);
QColor coloreQt(int32_t colore, const QPalette &tavolozza);
