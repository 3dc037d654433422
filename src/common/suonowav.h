#pragma once
// A generated tone as a WAV image: 8-bit mono PCM at 11025 samples per second.
#include <QByteArray>
#include <cstdint>

inline constexpr int32_t kCampioniAlSecondo = 11025;
// The longest tone the notice sound makes; a longer (or negative) duration is clamped.
inline constexpr int32_t kDurataMassimaSuonoMs = 10000;

// The RIFF/WAVE image of a sine tone: n = duration x 11025 / 1000 samples (halves to the even
// one), each the integer part of 128 x (1 + sin(2 pi f i / 11025)), at most 255. A duration
// outside 0..10000 ms is clamped to it; 0 gives an image with no samples.
QByteArray CreaSuonoWav(float frequenza, int32_t durataMs);
