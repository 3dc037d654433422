#pragma once
// The launch request that the menu server keeps for the program: with what switches, by
// whom and from which window it was launched.
#include "variant.h"

#include <QString>

struct RichiestaLancio {
    QString osParam;        // switch text: "F" form to open, "H" help file (see rigacomando.h)
    QString osChiLancia;    // key of the launching program
    QString osKeySecLancia; // secondary key of its window
    QString osParamLancia;  // parameter to hand back to it
    QString osTipoForm;     // display mode of the form, a whole number as text

    // On the wire: an array (lower bound 0) of the five members in this order.
    Variant toVariant() const;
    // Type mismatch (13) unless an array of five values.
    static RichiestaLancio fromVariant(const Variant &v);
};
