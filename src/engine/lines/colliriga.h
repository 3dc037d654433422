#pragma once
// The packs of a document line. Goods sold by length, area or volume get their pieces from the
// quantity delivered and the piece's dimensions, with a note that spells out pieces times
// dimensions; other goods get them from the article's pieces per pack, or as the delivered share
// of the order line's packs. Both round up.
#include "variant.h"

#include <QString>
#include <cstdint>

class scEvaOrdVen;

// The dimension settings of the run and of the current order.
struct ImpostazioniColli {
    bool qtaDaDimen = false;          // "QtaDaDimen" is "S"
    QString umLunghezza, umArea, umVolume;       // unit lists, codes separated by ";"
    QString notaLunghezza, notaArea, notaVolume; // note templates ("§Lun§", "§Lar§", "§Alt§", "§UM§", "§Colli§")
    double rapporto = 1000.0;         // "QtaDimenRapp": dimension units per unit of quantity (0 reads as 1000)
    double divPezziConf = 1.0;        // "DivPezziConf"
};
ImpostazioniColli ImpostazioniColliDa(const scEvaOrdVen &eva);

// What the order line and the delivery give.
struct DatiColli {
    int16_t colli = 0;          // the order line's packs
    double qta = 0;             // quantity delivered now
    double qtaOrdinata = 0;     // the order line's quantity
    QString um;                 // the order line's unit
    Variant lunghezza, larghezza, altezza; // the order line's dimensions, as stored
    Variant notaSotto;          // the order line's note below
    int32_t pezziPerConf = 0;   // the article's pieces per pack (0 when it has none)
};

struct ColliRiga {
    int16_t colli = 0;
    bool dimensioni = false; // the unit is a length, area or volume unit and the line has packs
    Variant nota;            // the note below of the document line when `dimensioni`
};

// Raises 11 for a division by zero ("DivPezziConf" 0 with pieces per pack, an ordered quantity
// of 0 under the delivered-share rule) and 6 for a number of packs beyond the 16-bit range.
ColliRiga CalcolaColli(const DatiColli &riga, const ImpostazioniColli &imp);
