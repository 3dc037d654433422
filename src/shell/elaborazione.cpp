#include "elaborazione.h"

namespace {
int gInCorso = 0;
} // namespace

ElaborazioneInCorso::ElaborazioneInCorso()
{
    ++gInCorso;
}

ElaborazioneInCorso::~ElaborazioneInCorso()
{
    --gInCorso;
}

bool ElaborazioneAttiva()
{
    return gInCorso > 0;
}
