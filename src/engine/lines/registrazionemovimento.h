#pragma once
// The posting of a cash-sale movement: the re-posting of the stock library (its work rows moved
// into MovMagDett and MovMagLiv and posted into the product data), reached through this seam;
// the program installs it, a test may put its own in its place.
#include <QString>
#include <cstdint>
#include <functional>

// What the posting did: numero 0 when all of it was done, otherwise the first error (in the
// database library's numbering) with its description.
struct EsitoRegistrazione {
    int32_t numero = 0;
    QString descrizione;
    bool riuscito() const { return numero == 0; }
};

// Posts movement piAnnoRegMov/plNumRegMov as a new movement (nothing of it posted before), its
// progress shown on the program's progress form; psChiaveLock is the key under which the caller
// holds the movement's lock, which stays held. Never raises.
using RegistraMovimento =
    std::function<EsitoRegistrazione(int16_t piAnnoRegMov, int32_t plNumRegMov, QString &psChiaveLock)>;

// Installs the posting; returns the previous one. Without one a posting is reported as failed.
RegistraMovimento ImpostaRegistraMovimento(RegistraMovimento registra);

// Posts through what is installed.
EsitoRegistrazione RiaggiornaMovimentoCorrisp(int16_t piAnnoRegMov, int32_t plNumRegMov, QString &psChiaveLock);
