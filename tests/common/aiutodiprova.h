#pragma once
// The help component bound to the test's company database (ggAiuto), as start-up binds it.
#include "contesto.h"
#include "gestoreaiuto.h"

#include <memory>

inline GestoreAiuto &installaAiutoDiProva()
{
    auto aiuto = std::make_shared<GestoreAiuto>();
    QWidget *principale = nullptr;
    std::shared_ptr<ContestoAiuto> contesto;
    aiuto->Inizializza(principale, nullptr, contesto, ggDbAzienda.condiviso(), gsNomeConn, ggDbAzienda.condiviso(),
                       glColNormale, glColErrore, QStringLiteral("p"), QStringLiteral("dd/mm/yyyy"));
    ggAiuto = aiuto;
    return *aiuto;
}
