#pragma once
// The stages of writing one document line, in the order ScriviRigaDocumento runs them on the
// pending row of the document-lines record set.
#include "campiriga.h"
#include "colliriga.h"

class scEvaOrdVen;

// Key, identity and description, long-description placement, unit, quantity and packs. Gives
// back the packs and, for goods sold by dimensions, the note below of the line.
ColliRiga ScriviIdentitaRiga(scEvaOrdVen &eva, const ConversioneRighe &c, const RigaInConversione &riga);

// Unit price, discounts and the line total with its lire and euro twins.
void ScriviImportiRiga(scEvaOrdVen &eva, const ConversioneRighe &c, const RigaInConversione &riga);

// The WEEE link of the line being written (order line `rigLivOrdine` linked to the order line
// `rigLivRaee`, 0 or less for none; the line's document key `rigLivDocumento`). Every earlier
// line of the call waiting for this one gets its link now, in the stored document.
void CollegaRaee(scEvaOrdVen &eva, ConversioneRighe &c, int32_t rigLivOrdine, int32_t rigLivRaee,
                 int32_t rigLivDocumento);
