#pragma once
// The menu client over a local socket. A call writes its request and waits on this socket
// alone (no event loop runs meanwhile), so nothing else of the program can run inside a
// call; commands that arrive meanwhile are queued and handed to EseguiComando one by one
// through queued invocations on the client's thread once no call is in progress, which also
// happens inside a modal dialog's loop. A handler may call the server back.
//
// The link is taken as lost when the server goes, when a message cannot be read, when a
// message begun does not arrive whole within the call time-out, and when the server sends more
// commands than wait their turn (MaxPendingCommands, or MaxPendingBytes of them).
#include "menuclient.h"
#include "menucodec.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <deque>
#include <map>
#include <set>

class QLocalSocket;
class QTimer;

class SocketMenuClient final : public MenuClient {
    Q_OBJECT
public:
    static constexpr int DefaultConnectTimeoutMs = 3000;
    static constexpr int DefaultCallTimeoutMs = 30000;
    static constexpr size_t MaxPendingCommands = 64;
    static constexpr qsizetype MaxPendingBytes = 2 * static_cast<qsizetype>(menucodec::MaxFrameBytes);

    // An empty name means that no server is there: the first call raises 5.
    explicit SocketMenuClient(QString socketName, QObject *parent = nullptr);
    ~SocketMenuClient() override;

    void setTimeouts(int connectMs, int callMs);
    bool isConnected() const;

    void Scollega() override;
    bool Interrotto() const override { return m_broken; }

protected:
    Variant chiama(const QString &op, std::vector<Variant> args) override;

private:
    struct Command {
        uint32_t id;
        QString idMenu, keySec, com;
        Variant param;
        qsizetype bytes = 0;
    };

    void ensureConnected();
    void writeFrame(const MenuMessage &m, int timeoutMs);
    void pumpIncoming();
    void handleMessage(MenuMessage m);
    void checkIncomplete();
    void breakLink(const QString &reason);
    void closeLink();
    void scheduleDispatch();
    void dispatchNext();
    void sendAnswer(uint32_t id, const Variant &answer);
    [[noreturn]] void raiseLinkError(const QString &what) const;

    QString m_socketName;
    QLocalSocket *m_socket = nullptr; // child of this client
    FrameReader m_reader;
    int m_connectTimeoutMs = DefaultConnectTimeoutMs;
    int m_callTimeoutMs = DefaultCallTimeoutMs;

    enum class State { Unconnected, Connected, Closed };
    State m_state = State::Unconnected;
    QString m_closeReason;
    bool m_broken = false;
    // A message begun must be whole by then.
    QDeadlineTimer m_incompleteDeadline{QDeadlineTimer::Forever};
    QTimer *m_incompleteTimer = nullptr; // child of this client

    uint32_t m_nextId = 0;
    std::set<uint32_t> m_waiting;
    std::map<uint32_t, MenuMessage> m_replies;
    int m_callDepth = 0;

    std::deque<Command> m_commands;
    qsizetype m_pendingBytes = 0;
    bool m_dispatchScheduled = false;
    int m_dispatchDepth = 0;
    bool m_closeAfterDispatch = false;
};
