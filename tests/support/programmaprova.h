#pragma once
// The frame of a helper program that a test starts beside itself on the same company
// database: it connects as the given user, prints "pronto", and starts its work when the start
// file appears (so that two of them start together). See programmiprova.h for the test's side.
#include "connessionedb.h"
#include "contesto.h"
#include "inprocessmenuclient.h"
#include "utilgenerali.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QThread>
#include <cstdio>
#include <memory>

inline void scriviRigaProva(const QString &riga)
{
    std::printf("%s\n", riga.toUtf8().constData());
    std::fflush(stdout);
}

// The company database opened as the program's, the user's menu client installed; then
// "pronto", and the wait for the start file. False when it did not come within 30 seconds.
inline bool avviaProgrammaProva(const QString &database, const QString &utente, const QString &fileVia)
{
    MenuConfig config;
    config.utente = utente;
    ggMenuClient = std::make_shared<InProcessMenuClient>(config);
    auto conn = std::make_shared<ConnessioneDb>();
    gsNomeConn = conn->Connetti(database);
    ggDbAzienda = conn;
    UtilGenerali::ImpostaAreaDiLavoro(conn.get());
    scriviRigaProva(QStringLiteral("pronto"));
    QElapsedTimer t;
    t.start();
    while (!QFile::exists(fileVia)) {
        if (t.elapsed() > 30000)
            return false;
        QThread::usleep(500);
    }
    return true;
}
