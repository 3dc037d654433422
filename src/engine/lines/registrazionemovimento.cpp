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
    // Only the work rows are posted: a movement of this run has no old rows, and the rows a
    // stopped posting moved already are in the product data and stay.
    return RiaggiornaMovimento(piAnnoRegMov, plNumRegMov, true, false, psChiaveLock, true);
}
