#pragma once
// A small company database (the suite fixture) opened as the program opens it, with a help
// component bound to it.
#include "companyfixture.h"
#include "connessionedb.h"
#include "gestoreaiuto.h"
#include "scratchdb.h"

#include <memory>

struct DittaAiuto {
    std::unique_ptr<ScratchDb> scratch;
    std::shared_ptr<ConnessioneDb> db = std::make_shared<ConnessioneDb>();
    QString conn;
    std::shared_ptr<GestoreAiuto> aiuto = std::make_shared<GestoreAiuto>();

    // Builds the fixture and binds the component; false (the test skipped or failed) when the
    // engine is not available.
    bool apri(Engine engine);
    // One row into a table of the company, through a connection of its own.
    void inserisci(const QString &tabella, const suite::FieldValues &valori);
};
