#pragma once
// The stages of EvadoOrdTest and what one call carries from one stage to the next.
#include <QString>
#include <cstdint>

class scEvaOrdVen;

struct TestataInCorso {
    double cambioOrdine = 0;   // the order's exchange rate
    QString sqlRicerca;        // the search of an open header, for this order
    bool nuova = false;        // no open header to join: a new one is made
    bool creata = false;       // this call stored a new header row
    int32_t numRif = 0;        // NumRif of the target header
    QString chiaveLock;        // alias of the header lock's record set ("" before the first request)
    bool lockPreso = false;    // the call holds the header's lock
    bool lockScritto = false;  // the lock row was written by this call
    bool registrata = false;   // the document has its DocDaElab row of this run
    QString segno;             // Segno of the header's document type
};

// Search of an open header that the order may join (fills sqlRicerca, nuova, numRif).
void CercaTestata(scEvaOrdVen &eva, TestataInCorso &t, bool soloNuova);
// Whether the found header, now locked, still stands open and agrees with the order: the alias
// is re-read on it.
bool TestataAncoraValida(scEvaOrdVen &eva, const TestataInCorso &t);
// A new header numbered in the run's year; false after ten failed attempts (error line written,
// pbEsci set).
bool CreaTestata(scEvaOrdVen &eva, TestataInCorso &t, bool &pbEsci);
// Removes the header row (a new header that will not be used).
void CancellaTestata(scEvaOrdVen &eva, int32_t numRif);
// The header's lock, asked until held or until the user gives up (pbEsci).
void BloccaTestata(scEvaOrdVen &eva, TestataInCorso &t, bool &pbEsci);
// Whether the document is registered in the run's DocDaElab rows.
bool DocumentoRegistrato(scEvaOrdVen &eva, int32_t numRif);
// The header fields from the order (the row is in edit mode).
void ScriviCampiTestata(scEvaOrdVen &eva, const TestataInCorso &t);
// The header notes (fills segno).
void ScriviNoteTestata(scEvaOrdVen &eva, TestataInCorso &t);
