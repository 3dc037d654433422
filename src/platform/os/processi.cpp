#include "processi.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QSysInfo>

namespace {

QString digest(const QByteArray &testo)
{
    return QString::fromLatin1(QCryptographicHash::hash(testo, QCryptographicHash::Sha1).toHex().left(8));
}

QByteArray leggi(const QString &percorso)
{
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll().trimmed();
}

QString macchina()
{
    QByteArray id = QSysInfo::machineUniqueId();
    if (id.isEmpty())
        id = QSysInfo::machineHostName().toUtf8();
    return id.isEmpty() ? QString() : digest(id);
}

// The start of the machine (its boot id) and of the process (clock ticks since the boot, field
// 22 of /proc/<pid>/stat, counted after the command name, which may hold blanks and brackets);
// empty when the process does not exist.
QString avvio(int64_t pid)
{
    const QByteArray boot = leggi(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    const QByteArray stat = leggi(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype fine = stat.lastIndexOf(')');
    if (boot.isEmpty() || fine < 0)
        return {};
    const QList<QByteArray> campi = stat.mid(fine + 2).split(' ');
    // after the name: state (3), ppid (4) ... starttime (22)
    constexpr int kInizio = 22 - 3;
    if (campi.size() <= kInizio)
        return {};
    return digest(boot + ':' + campi.at(kInizio));
}

} // namespace

IdentitaProcesso QuestoProcesso()
{
    IdentitaProcesso id;
    id.macchina = macchina();
    id.pid = QCoreApplication::applicationPid();
    id.avvio = avvio(id.pid);
    return id;
}

StatoProcesso StatoDelProcesso(const IdentitaProcesso &id)
{
    if (!id.valida() || id.macchina != macchina())
        return StatoProcesso::Sconosciuto;
    if (leggi(QStringLiteral("/proc/sys/kernel/random/boot_id")).isEmpty())
        return StatoProcesso::Sconosciuto;
    return avvio(id.pid) == id.avvio ? StatoProcesso::Vivo : StatoProcesso::Terminato;
}
