#pragma once
// What the posting of a stock movement shares between its routines: the working values of the
// row being posted, the progress display of the posting, the supplier-data switch, and the
// result a posting pass hands back to its caller.
#include "avanzamentoelab.h"

#include <QString>
#include <cstdint>

// The working values of the row being posted. The row posting sets the first five for every
// row it posts; the progressives set the last three when an opening-balance row replaces the
// opening figures, and the cost update reads them for that row (and zeroes them for any other).
struct ContestoPosting {
    double mdQtaRiga = 0;         // quantity in the stock unit, rounded to the quantity decimals
    double mdValRigaLire = 0;     // value of the row in lire
    double mdValRiga = 0;         // value of the row in euro
    double mdValUnitRigaLire = 0; // unit value per stock unit, lire
    double mdValUnitRiga = 0;     // unit value per stock unit, euro
    double mdQtaIniziale = 0;     // opening figures found before an opening-balance row
    double mdValIniziale = 0;
    double mdValInizialeLire = 0;
};

// The progress display of the stock posting, shared by the re-posting, both drivers and the
// issue-value recomputation; created on first use.
AvanzamentoElab &mgAvanzamento();

// "S": the row posting also updates the supplier data of purchases. Nothing in the program sets
// it; it starts empty.
extern QString msUtilMovim;

// What a posting pass, or a whole re-posting, did. A row that failed is left as it was (not
// marked, deleted or moved), counted here, and the first error is kept: the pass succeeded
// only when `numero` is 0.
struct EsitoPosting {
    int32_t numero = 0;           // the error in the database library's numbering; 0 none
    QString descrizione;          // its description
    int32_t righeNonEseguite = 0; // rows left as they were after an error

    bool riuscito() const { return numero == 0; }
    // Keeps the first error only; counts every failed row.
    void aggiungi(const EsitoPosting &altro);
};
