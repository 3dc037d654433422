#pragma once
// Test control of the stand-in menu server. The server runs in a thread of its own inside
// the test process, so that a client on the test's thread (or a program the server starts)
// can talk to it while the test waits. Every wait is bounded and keeps the calling thread's
// events flowing, so a client living on that thread can answer commands meanwhile.
//
//   MenuServerControl menu(config);               // listening at once
//   menu.startProgram();                          // config.programma with its switches
//   auto a = menu.command("esiste");              // send and await the answer
//   menu.journalLines();                          // "chiamata Collega(...) => Empty", ...
//   menu.waitForProgramExit(5000);
#include "menuconfig.h"
#include "menujournal.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class MenuServer;
class QThread;

class MenuServerControl {
public:
    explicit MenuServerControl(MenuConfig config = {});
    ~MenuServerControl();
    MenuServerControl(const MenuServerControl &) = delete;
    MenuServerControl &operator=(const MenuServerControl &) = delete;

    // The configuration of a server configuration file (raises 53 or 13).
    static MenuConfig loadConfig(const QString &path);

    QString socketName() const;
    // The system environment plus SUITE_MENU_SOCKET, for a client process or this process.
    QProcessEnvironment clientEnvironment() const;

    void setConfig(MenuConfig config);
    void setUser(const QString &utente);
    void setParameter(const QString &chiave, const Variant &valore);

    // Starts config.programma with its switches; `env` gets SUITE_MENU_SOCKET.
    void startProgram(QProcessEnvironment env = QProcessEnvironment::systemEnvironment());
    QStringList programArguments() const;
    bool programRunning() const;
    // Kills the program (SIGKILL): it ends without closing anything.
    void killProgram();
    // The exit code, nullopt when the program has not ended within the time.
    std::optional<int> waitForProgramExit(int timeoutMs);

    // 0 when no program is linked.
    uint32_t sendCommand(const QString &com, const QString &keySec = {}, const Variant &param = {},
                         const QString &idMenu = {});
    // The answer, nullopt when it has not arrived within the time.
    std::optional<Variant> awaitAnswer(uint32_t ticket, int timeoutMs = 5000);
    std::optional<Variant> command(const QString &com, const QString &keySec = {}, const Variant &param = {},
                                   int timeoutMs = 5000);

    MenuJournal journal() const;
    QStringList journalLines() const;
    QStringList calls() const;
    QStringList messages() const; // "MsgBox" texts
    // Waits until the journal holds `count` calls named `op`.
    bool waitForCall(const QString &op, int timeoutMs, int count = 1);
    bool waitUntilLinked(int timeoutMs);
    bool waitUntilUnlinked(int timeoutMs);

    void refuseConnections(bool refuse);
    void failCall(const QString &op, int32_t number, const QString &description = {}, int times = -1);
    void clearFailures();
    void delayCall(const QString &op, int ms);
    void dropOnCall(const QString &op, int nth = 1);
    void dropConnection();
    void sendRaw(const QByteArray &bytes);

    // Waits, keeping this thread's events flowing, until `done` holds; false on time-out.
    static bool waitFor(const std::function<bool()> &done, int timeoutMs);

private:
    void onServer(const std::function<void(MenuServer &)> &f) const;
    template <typename R>
    R fromServer(const std::function<R(MenuServer &)> &f) const
    {
        std::optional<R> r;
        onServer([&](MenuServer &s) { r.emplace(f(s)); });
        return std::move(*r);
    }

    std::unique_ptr<QThread> m_thread;
    MenuServer *m_server = nullptr; // lives in m_thread, deleted there when it ends
};
