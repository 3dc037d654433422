#include "presentazione.h"

#include <utility>

namespace {
PresentazioneEvasione &installata()
{
    static PresentazioneEvasione p;
    return p;
}
} // namespace

PresentazioneEvasione impostaPresentazioneEvasione(PresentazioneEvasione presentazione)
{
    return std::exchange(installata(), std::move(presentazione));
}

void ClessidraEvasione(bool acceso)
{
    if (installata().clessidra)
        installata().clessidra(acceso);
}

VistaAvanzamento *FinestraAvanzamentoEvasione()
{
    return installata().finestraAvanzamento ? installata().finestraAvanzamento() : nullptr;
}
