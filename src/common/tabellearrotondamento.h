#pragma once
// Rounding by the company's band tables ArrotLire and ArrotEuro: each band has an upper bound
// (FinoA), a step (ValArrot) and a mode letter (TipoArrot: "A" nearest, "S" up, "T" toward
// zero). Each table is read once per program run, at its first use, and then searched in
// memory; a read that fails is tried again at the next use.
#include "variant.h"

#include <QString>
#include <vector>

// One table's bands in ascending FinoA order. An empty table is held as the single mode
// "Nessuno".
struct BandeArrotondamento {
    std::vector<double> FinoA;
    std::vector<double> ValArrot;
    std::vector<QString> TipoArrot;
    int16_t caricato = 0; // 1 once read
};

// The value rounded by the lire table (letter "L") or the euro table (any other letter).
double ArrotValuta(const Variant &valore, const QString &lettera);

// The value rounded by the bands: the first band whose bound is not below the value (the last
// band for a value above every bound), to a multiple of its step in its mode; with an empty
// table, to the currency's price decimals, nearest. Reads the table first when the currency's
// flag is not 1.
double ArrotDaTabella(const Variant &valore, const QString &lettera, BandeArrotondamento &bande);

// The two caches, as the program run holds them.
BandeArrotondamento &bandeLire();
BandeArrotondamento &bandeEuro();
// Forgets both caches, as at program start.
void azzeraBandeArrotondamento();
