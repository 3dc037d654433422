#include "suonowav.h"

#include "decimal.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

void aggiungi32(QByteArray &b, uint32_t v)
{
    char buf[4];
    qToLittleEndian(v, buf);
    b.append(buf, 4);
}

void aggiungi16(QByteArray &b, uint16_t v)
{
    char buf[2];
    qToLittleEndian(v, buf);
    b.append(buf, 2);
}

} // namespace

QByteArray CreaSuonoWav(float frequenza, int32_t durataMs)
{
    const int64_t durata = std::clamp<int64_t>(durataMs, 0, kDurataMassimaSuonoMs);
    // Exact: the quotient has at most three decimals, so halves are found exactly.
    const auto n = static_cast<uint32_t>(divideRounded(durata * kCampioniAlSecondo, 1000, RoundMode::HalfEven));

    QByteArray b;
    b.reserve(static_cast<qsizetype>(44 + n));
    b.append("RIFF", 4);
    aggiungi32(b, n + 36);
    b.append("WAVEfmt ", 8);
    aggiungi32(b, 16);
    aggiungi16(b, 1);
    aggiungi16(b, 1);
    aggiungi32(b, kCampioniAlSecondo);
    aggiungi32(b, kCampioniAlSecondo);
    aggiungi16(b, 1);
    aggiungi16(b, 8);
    b.append("data", 4);
    aggiungi32(b, n);
    const double f = static_cast<double>(frequenza);
    for (uint32_t i = 0; i < n; ++i) {
        const double v = 128.0 * (1.0 + std::sin(2.0 * std::numbers::pi * f * i / kCampioniAlSecondo));
        b.append(static_cast<char>(static_cast<uint8_t>(std::min(255.0, std::floor(v)))));
    }
    return b;
}
