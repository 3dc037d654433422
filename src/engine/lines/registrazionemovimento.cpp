#include "registrazionemovimento.h"

#include "riaggiornamovimento.h"

#include <utility>

namespace {

RegistraMovimento &installata()
{
    static RegistraMovimento r;
    return r;
}

} // namespace

RegistraMovimento ImpostaRegistraMovimento(RegistraMovimento registra)
{
    std::swap(installata(), registra);
    return registra;
}

EsitoPosting RiaggiornaMovimentoCorrisp(int16_t piAnnoRegMov, int32_t plNumRegMov, QString &psChiaveLock)
{
    if (installata())
        return installata()(piAnnoRegMov, plNumRegMov, psChiaveLock);
    // A new movement: nothing of it was posted before, and its old rows are none.
    return RiaggiornaMovimento(piAnnoRegMov, plNumRegMov, true, false, psChiaveLock, false);
}
