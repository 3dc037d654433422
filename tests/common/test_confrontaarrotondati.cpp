#include "confrontaarrotondati.h"

#include <gtest/gtest.h>

namespace {

TEST(ConfrontaArrotondati, ComparesAtThePrecision)
{
    struct Caso {
        Variant primo, secondo;
        int esponente;
        int16_t atteso;
    };
    const Caso casi[] = {
        {Variant(1.004), Variant(1.0), -2, 0},
        {Variant(1.006), Variant(1.0), -2, 1},
        {Variant(int16_t(2)), Variant(int16_t(3)), -2, -1},
        {Variant(1.005), Variant(1.01), -2, 0},        // halves away from zero, decimal-correct
        {Variant(-1.005), Variant(-1.01), -2, 0},
        {Variant(0.1 + 0.2), Variant(0.3), -8, 0},     // binary noise below the precision
        {Variant(100.000000004), Variant(100.0), -8, 0},
        {Variant(100.00000002), Variant(100.0), -8, 1},
        {Variant(""), Variant::null(), -2, 0},
        {Variant(), Variant::null(), -2, 0},
        {Variant(int16_t(5)), Variant::null(), -2, 1},
        {Variant::null(), Variant::null(), -2, 1},
        {Variant::null(), Variant(int16_t(5)), -2, 1},  // undecidable
        {Variant(Currency::fromUnits(12345)), Variant(1.23), -2, 0},
    };
    for (const auto &k : casi) {
        SCOPED_TRACE(k.primo.text().toStdString() + " / " + k.secondo.text().toStdString());
        EXPECT_EQ(ConfrontaArrotondati(k.primo, k.secondo, k.esponente), k.atteso);
    }
}

} // namespace
