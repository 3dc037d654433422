#include "agganci.h"

#include "connessionedb.h"
#include "contesto.h"
#include "menuclient.h"
#include "terminacollegamenti.h"

#include <QCoreApplication>

namespace {

AgganciProgramma &installati()
{
    static AgganciProgramma a;
    return a;
}

void scollega()
{
    try {
        ggDbDao.reset();
        ggDbAzienda.reset();
        if (ggMenuClient)
            ggMenuClient->Scollega();
    } catch (...) {
    }
    ggMenuComandi.reset();
    ggMenuClient.reset();
}

} // namespace

void ChiudiCollegamenti()
{
    if (installati().ChiudiCollegamenti)
        installati().ChiudiCollegamenti();
    else
        scollega();
}

Variant TerminaProgramma()
{
    if (installati().TerminaProgramma)
        return installati().TerminaProgramma();
    QCoreApplication::exit(0);
    return Variant(true);
}

Variant ChiudiPerErrore(bool flag)
{
    TerminaCollegamenti(flag);
    return {};
}

AgganciProgramma impostaAgganci(AgganciProgramma agganci)
{
    std::swap(installati(), agganci);
    return agganci;
}
