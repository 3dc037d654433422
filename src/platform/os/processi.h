#pragma once
// Which process holds a record of its own in the shared database, told so that another process
// of the same machine can check, after a crash or a power cut, whether that process still runs.
// A process number alone is not enough: the system gives it again after the process ends or the
// machine restarts, so the start of the machine and of the process go with it.
#include <QString>
#include <cstdint>

struct IdentitaProcesso {
    QString macchina; // a digest of the machine's identity (8 hexadecimal digits)
    int64_t pid = 0;
    QString avvio;    // a digest of the machine's start and of the process's own start

    bool valida() const { return !macchina.isEmpty() && pid > 0 && !avvio.isEmpty(); }
};

// This process.
IdentitaProcesso QuestoProcesso();

enum class StatoProcesso : uint8_t {
    Vivo,       // the process runs on this machine
    Terminato,  // it ran on this machine and no longer does (or the machine restarted since)
    Sconosciuto // another machine's, or no longer readable: whether it runs cannot be told
};
StatoProcesso StatoDelProcesso(const IdentitaProcesso &id);
