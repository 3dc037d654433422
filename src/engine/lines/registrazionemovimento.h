#pragma once
// The posting of a cash-sale movement: the re-posting of the stock library (RiaggiornaMovimento:
// its work rows moved into MovMagDett and MovMagLiv and posted into the product data), reached
// through this seam so that a test may put its own in its place.
#include "contestoposting.h"

#include <QString>
#include <cstdint>
#include <functional>

// Posts the work rows of movement piAnnoRegMov/plNumRegMov (the rows of it already posted, by a
// posting that was stopped, are left as they are), its progress shown on the program's progress
// form; psChiaveLock is the key under which the caller
// holds the movement's lock, which stays held. The result tells whether all of it was done and
// names the first error otherwise. Never raises.
using RegistraMovimento =
    std::function<EsitoPosting(int16_t piAnnoRegMov, int32_t plNumRegMov, QString &psChiaveLock)>;

// Installs a posting in place of the re-posting; returns the previous one. An empty one gives the
// re-posting back.
RegistraMovimento ImpostaRegistraMovimento(RegistraMovimento registra);

// Posts through what is installed.
EsitoPosting RiaggiornaMovimentoCorrisp(int16_t piAnnoRegMov, int32_t plNumRegMov, QString &psChiaveLock);
