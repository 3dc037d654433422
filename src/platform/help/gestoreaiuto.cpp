#include "gestoreaiuto.h"

namespace {

std::weak_ptr<GestoreAiuto> &condiviso()
{
    static std::weak_ptr<GestoreAiuto> c;
    return c;
}

} // namespace

void GestoreAiuto::Inizializza(ImpostazioniAiuto impostazioni)
{
    m_impostazioni = std::move(impostazioni);
    m_inizializzato = true;
}

std::shared_ptr<GestoreAiuto> GestoreAiuto::AiutoCondiviso()
{
    std::shared_ptr<GestoreAiuto> c = condiviso().lock();
    if (!c) {
        c = std::make_shared<GestoreAiuto>();
        condiviso() = c;
    }
    return c;
}
