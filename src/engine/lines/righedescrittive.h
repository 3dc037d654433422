#pragma once
// The text-only lines a conversion adds to the document (TipoRiga "D", the text in NotaSopra):
// the order block (order reference, customer reference, free header texts) when the order's
// conversion starts, and the delivery state line just before or just after an article line of
// a delivery note.
#include <cstdint>

class scEvaOrdVen;
struct ConversioneRighe;
struct RigaInConversione;

// The order reference line, the customer reference line and the free-field lines the settings
// ask for, each stored on its own.
void ScriviRigheOrdine(scEvaOrdVen &eva, ConversioneRighe &c, int16_t &piRigheCreate);

// Where the delivery state line of the cursor's line goes ("RigDescrEva").
enum class PosizioneStato { Prima, Dopo };
// The delivery state line, when the run is a delivery note, the line an article line and its
// position the one asked; its text tells whether the line leaves a residual.
void ScriviRigaStato(scEvaOrdVen &eva, ConversioneRighe &c, int16_t &piRigheCreate, const RigaInConversione &riga,
                     PosizioneStato posizione);
