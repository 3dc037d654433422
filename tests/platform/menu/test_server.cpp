// The stand-in server as seen from outside: a raw peer that breaks the protocol, and the
// servermenu program with its configuration file, journal file and commands on stdin.
#include "menucodec.h"
#include "menufixture.h"

#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(MenuServer, MalformedFrameIsRejectedAndTheServerGoesOn)
{
    MenuServerControl server(sampleMenuConfig());
    QLocalSocket raw;
    raw.connectToServer(server.socketName());
    ASSERT_TRUE(raw.waitForConnected(3000));
    raw.write(QByteArray("\x00\x00\x00\x02\x01\x00", 6)); // a call cut short
    raw.flush();
    EXPECT_TRUE(MenuServerControl::waitFor([&] {
        raw.waitForReadyRead(10);
        return raw.state() != QLocalSocket::ConnectedState;
    }, 3000));
    const QStringList j = server.journalLines();
    ASSERT_EQ(j.size(), 3);
    EXPECT_TRUE(j[1].startsWith("rifiuto Messaggio del menu non valido")) << j[1].toStdString();
    EXPECT_EQ(j[2], "disconnessione");

    // a peer that answers a command it was never sent, then a good client
    QLocalSocket liar;
    liar.connectToServer(server.socketName());
    ASSERT_TRUE(liar.waitForConnected(3000));
    liar.write(encodeFrame(MenuMessage{MenuMessage::Kind::CommandReply, 99, {}, {Variant()}}));
    liar.flush();
    EXPECT_TRUE(MenuServerControl::waitFor(
        [&] { return server.journalLines().contains("rifiuto Messaggio del menu non valido: risposta a un comando mai inviato"); },
        3000));
    SocketMenuClient client(server.socketName());
    EXPECT_EQ(client.NomeUtente(), "mario");
}

TEST(MenuServer, ProgramOfItsOwnRunsTheConfiguredProgram)
{
    QTemporaryDir dir;
    const QString config = dir.filePath("servermenu.ini"), journal = dir.filePath("giornale.txt");
    QFile f(config);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QString("[Server]\nUtente=mario\nGiornale=%1\n[Programma]\nPercorso=%2\nM=menu1\nP=EVAORD\n"
                    "[ParametriMenu]\nMag.GesTaglie=N\n")
                .arg(journal, MENU_TEST_PROG)
                .toUtf8());
    f.close();

    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(SERVERMENU_PROG, {config});
    ASSERT_TRUE(server.waitForStarted(5000));
    auto journalText = [&] {
        QFile j(journal);
        return j.open(QIODevice::ReadOnly) ? QString::fromUtf8(j.readAll()) : QString();
    };
    ASSERT_TRUE(MenuServerControl::waitFor([&] { return journalText().contains("LeggiParametro"); }, 10000));
    server.write("echo - @Long 5\nfine\n");
    ASSERT_TRUE(server.waitForFinished(10000));
    EXPECT_EQ(server.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(server.exitCode(), 0);
    const QString out = QString::fromUtf8(server.readAllStandardOutput());
    EXPECT_TRUE(out.contains("Risposta 1: 5&")) << out.toStdString();
    const QStringList lines = journalText().split('\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains(R"(chiamata LeggiParametro("Mag.GesTaglie", "") => "N")"));
    EXPECT_TRUE(lines.contains(R"(comando echo("", 5&) => 5&)"));
    EXPECT_TRUE(lines.contains(R"(comando fine("", Empty) => "")"));
    EXPECT_TRUE(lines.contains("uscita 0"));
}

} // namespace
