#pragma once
// The stand-in for the suite's menu server: it listens on a local socket, starts the
// program, answers its calls from its configuration (MenuResponder), sends it commands and
// journals everything. It never blocks: a command's answer arrives as a message like any
// other, so a program that calls back while handling a command is served at once.
//
// The program is started as
//     <Percorso> /M <M> /P <P> /F <F> /I <I>
// each switch and its value as two argv words (only the switches configured; see
// rigacomando.h for how the program turns them into its switch text), with the
// environment variable SUITE_MENU_SOCKET naming the server's socket. The launch request
// current at start is the configured one ([Lancio]).
//
// Failures for tests: refused connections, a call answered with an error, delayed answers,
// the link dropped when a named call arrives or at once, raw bytes sent to the program.
#include "menucodec.h"
#include "menuresponder.h"

#include <QByteArray>
#include <QObject>
#include <QProcessEnvironment>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QLocalServer;
class QLocalSocket;
class QProcess;

class MenuServer : public QObject {
    Q_OBJECT
public:
    explicit MenuServer(MenuConfig config = {}, QObject *parent = nullptr);
    ~MenuServer() override;

    // Listens under a new name of its own; false when the socket cannot be made.
    bool listen();
    // The value for SUITE_MENU_SOCKET.
    QString socketName() const;
    MenuResponder &responder() { return m_responder; }

    // The argv words after the program path.
    QStringList programArguments() const;
    // Starts the configured program with `env` plus SUITE_MENU_SOCKET.
    void startProgram(QProcessEnvironment env = QProcessEnvironment::systemEnvironment());
    bool programRunning() const;
    // The program's exit code once it has ended (-1 when it could not start or crashed).
    std::optional<int> exitCode() const { return m_exitCode; }
    // Ends the program: terminate, and kill after `graceMs`.
    void stopProgram(int graceMs);
    // Kills the program at once, with no chance to clean up (as a power cut would end it).
    void killProgram();

    // Whether a program is linked (connected and not yet disconnected).
    bool linked() const;
    // Sends a command to the linked program; its ticket, 0 when no program is linked.
    uint32_t sendCommand(const QString &com, const QString &keySec = {}, const Variant &param = {},
                         const QString &idMenu = {});
    // The answer to a command, once it has arrived.
    std::optional<Variant> answer(uint32_t ticket) const;
    // The journal entry of a command.
    const JournalEntry &commandEntry(uint32_t ticket) const;

    void refuseConnections(bool refuse);
    // Answers of `op` ("" every call) wait `ms` before they go; 0 removes the delay.
    void delayCall(const QString &op, int ms);
    // The link is dropped, without an answer, when the `nth` call named `op` from now arrives
    // (the first by default); "" clears.
    void dropOnCall(const QString &op, int nth = 1);
    void dropConnection();
    void sendRaw(const QByteArray &bytes);

signals:
    void commandAnswered(quint32 ticket);
    void programFinished(int exitCode);
    void linkClosed();

private:
    struct Link {
        QLocalSocket *socket = nullptr; // child of the server
        FrameReader reader;
    };

    void onNewConnection();
    void onReadyRead(Link *link);
    void onDisconnected(Link *link);
    void handle(Link *link, MenuMessage m);
    void reject(Link *link, const QString &why);
    Link *current() const;
    int delayFor(const QString &op) const;

    MenuResponder m_responder;
    QLocalServer *m_server = nullptr;
    QString m_name;
    QString m_fullName;
    bool m_refusing = false;
    std::vector<std::unique_ptr<Link>> m_links;

    uint32_t m_nextCommand = 0;
    std::map<uint32_t, size_t> m_commands; // ticket -> journal entry

    MapNoCase<int> m_delays;
    QString m_dropOn;
    int m_dropAfter = 0; // calls named m_dropOn still answered before the drop

    QProcess *m_process = nullptr;
    std::optional<int> m_exitCode;
};
