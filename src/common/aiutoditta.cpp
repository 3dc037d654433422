#include "aiutoditta.h"

#include "contesto.h"
#include "gestoreaiuto.h"

GestoreAiuto &LegaAiutoAllaDitta()
{
    auto aiuto = std::make_shared<GestoreAiuto>();
    QWidget *principale = nullptr;
    std::shared_ptr<ContestoAiuto> contesto;
    aiuto->Inizializza(principale, nullptr, contesto, ggDbAzienda.condiviso(), gsNomeConn, ggDbAzienda.condiviso(),
                       glColNormale, glColErrore, QStringLiteral("p"), QStringLiteral("dd/mm/yyyy"));
    ggAiuto = aiuto;
    return *aiuto;
}
