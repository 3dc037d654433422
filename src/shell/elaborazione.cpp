#include "elaborazione.h"

#include <QCoreApplication>
#include <utility>

namespace {

int gInCorso = 0;

std::function<void()> &rinviata()
{
    static std::function<void()> r;
    return r;
}

} // namespace

ElaborazioneInCorso::ElaborazioneInCorso()
{
    ++gInCorso;
}

ElaborazioneInCorso::~ElaborazioneInCorso()
{
    if (--gInCorso > 0 || !rinviata())
        return;
    std::function<void()> r = std::exchange(rinviata(), {});
    // Not from inside the run's own unwinding: once control is back in the event loop.
    if (QCoreApplication::instance())
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(r), Qt::QueuedConnection);
    else
        r();
}

bool ElaborazioneAttiva()
{
    return gInCorso > 0;
}

void RinviaAFineElaborazione(std::function<void()> richiesta)
{
    rinviata() = std::move(richiesta);
}
