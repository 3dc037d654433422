#pragma once
// The stand-in menu server as a process of its own (tools/servermenu), as the program meets the
// suite's: every call of the run is a round trip on its socket, and the server's journal goes to
// a file of its own, out of the run's memory.
#include "menuconfig.h"

#include <QProcess>
#include <QString>

class ServerMenuEsterno {
public:
    // Starts the server on the menu parameters and user of `config` (text values only); its
    // files in `cartella`. Raises when it does not start.
    ServerMenuEsterno(const MenuConfig &config, const QString &cartella);
    // Ends the server.
    ~ServerMenuEsterno();
    ServerMenuEsterno(const ServerMenuEsterno &) = delete;
    ServerMenuEsterno &operator=(const ServerMenuEsterno &) = delete;

    const QString &socket() const { return m_socket; }
    // The calls the server has answered so far, from its journal.
    long long chiamate() const;

private:
    QProcess m_processo;
    QString m_socket;
    QString m_giornale;
};
