#include "registrazionemovimento.h"

#include "apperror.h"

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

EsitoRegistrazione RiaggiornaMovimentoCorrisp(int16_t piAnnoRegMov, int32_t plNumRegMov, QString &psChiaveLock)
{
    if (!installata())
        return {ErrNum::InvalidCall, QStringLiteral("Registrazione dei movimenti di magazzino non disponibile")};
    return installata()(piAnnoRegMov, plNumRegMov, psChiaveLock);
}
