#pragma once
// Stand-ins of the writers of a document line's fields and of its level rows, for the tests of
// the converter: each call is recorded and writes a row with the few fields the tests read
// (identity, quantities, amounts, provenance); any call can be told to fail once its row is
// written, as a failure late in the writer would.
#include <QString>
#include <cstdint>
#include <vector>

namespace campiprova {

struct Chiamata {
    QString funzione;        // "ScriviRigaDocumento", "ScriviLivelloDocumento", "SommaLivelloGiaScritto"
    int32_t rigLivOrdine = 0; // the order line's RigLiv
    QString livello1;
    double qtaProv = 0;      // the quantity taken the converter handed over (lines)
    int32_t rigLiv = 0;      // the document line's RigLiv
};

std::vector<Chiamata> &chiamate();
// The n-th call (from 1) of the function raises error 3146 "guasto di prova"; 0 none.
void guastoAllaChiamata(const QString &funzione, int n);
void azzera();

} // namespace campiprova
