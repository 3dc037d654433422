#include "socketmenuclient.h"

#include "apperror.h"
#include "guard.h"

#include <QLocalSocket>
#include <QTimer>

namespace {
const QString kSource = QStringLiteral("MenuClient");
const QString kIncompleto = QStringLiteral("Messaggio del menu incompleto");
}

SocketMenuClient::SocketMenuClient(QString socketName, QObject *parent)
    : MenuClient(parent), m_socketName(std::move(socketName))
{
    bool ok = false;
    const int t = qEnvironmentVariableIntValue(kMenuTimeoutEnv, &ok);
    if (ok && t > 0)
        m_callTimeoutMs = t;
    m_incompleteTimer = new QTimer(this);
    m_incompleteTimer->setSingleShot(true);
    connect(m_incompleteTimer, &QTimer::timeout, this,
            [this] { guarded("MenuClient::incompleteTimer", [&] { checkIncomplete(); }); });
}

SocketMenuClient::~SocketMenuClient()
{
    // Answers already written (the one to "fine" above all) still reach the server.
    if (m_state == State::Connected)
        closeLink();
    else if (m_socket)
        m_socket->abort();
}

void SocketMenuClient::setTimeouts(int connectMs, int callMs)
{
    m_connectTimeoutMs = connectMs;
    m_callTimeoutMs = callMs;
}

bool SocketMenuClient::isConnected() const
{
    return m_state == State::Connected;
}

void SocketMenuClient::raiseLinkError(const QString &what) const
{
    throw AppError(ErrNum::InvalidCall, what, kSource);
}

void SocketMenuClient::ensureConnected()
{
    if (m_state == State::Connected)
        return;
    if (m_state == State::Closed)
        raiseLinkError(m_closeReason);
    if (m_socketName.isEmpty()) {
        m_state = State::Closed;
        m_closeReason = QStringLiteral("Il menu principale non è in esecuzione");
        raiseLinkError(m_closeReason);
    }
    m_socket = new QLocalSocket(this);
    m_socket->connectToServer(m_socketName);
    if (!m_socket->waitForConnected(m_connectTimeoutMs)) {
        m_state = State::Closed;
        m_closeReason = QStringLiteral("Il menu principale non è in esecuzione");
        m_socket->abort();
        raiseLinkError(m_closeReason);
    }
    m_state = State::Connected;
    connect(m_socket, &QLocalSocket::readyRead, this, [this] { guarded("MenuClient::readyRead", [&] { pumpIncoming(); }); });
    connect(m_socket, &QLocalSocket::disconnected, this, [this] {
        if (m_state == State::Connected)
            breakLink(QStringLiteral("Il collegamento con il menu si è interrotto"));
    });
}

void SocketMenuClient::writeFrame(const MenuMessage &m, int timeoutMs)
{
    m_socket->write(encodeFrame(m));
    const QDeadlineTimer deadline(timeoutMs);
    while (m_socket->bytesToWrite() > 0) {
        if (!m_socket->waitForBytesWritten(static_cast<int>(deadline.remainingTime())) || deadline.hasExpired()) {
            if (m_socket->bytesToWrite() == 0)
                break;
            breakLink(QStringLiteral("Il menu non riceve i messaggi"));
            raiseLinkError(m_closeReason);
        }
    }
}

Variant SocketMenuClient::chiama(const QString &op, std::vector<Variant> args)
{
    ensureConnected();
    const uint32_t id = ++m_nextId;
    struct Depth {
        SocketMenuClient *c;
        uint32_t id;
        ~Depth()
        {
            c->m_waiting.erase(id);
            c->m_replies.erase(id);
            if (--c->m_callDepth == 0 && !c->m_commands.empty())
                c->scheduleDispatch();
        }
    } depth{this, id};
    ++m_callDepth;
    m_waiting.insert(id);

    const QDeadlineTimer deadline(m_callTimeoutMs);
    writeFrame(MenuMessage{MenuMessage::Kind::Call, id, op, std::move(args)}, m_callTimeoutMs);
    // Replies that came with earlier bytes are already in the buffer.
    pumpIncoming();
    while (m_replies.find(id) == m_replies.end()) {
        if (m_state == State::Connected && m_reader.incomplete() && m_incompleteDeadline.hasExpired())
            breakLink(kIncompleto);
        if (m_state != State::Connected)
            raiseLinkError(m_closeReason);
        if (deadline.hasExpired())
            raiseLinkError(QStringLiteral("Il menu non risponde (%1)").arg(op));
        qint64 wait = deadline.remainingTime();
        if (m_reader.incomplete() && !m_incompleteDeadline.isForever())
            wait = qMin(wait, m_incompleteDeadline.remainingTime());
        if (m_socket->bytesAvailable() == 0 && !m_socket->waitForReadyRead(static_cast<int>(qMax<qint64>(1, wait)))
            && m_socket->state() != QLocalSocket::ConnectedState)
            breakLink(QStringLiteral("Il collegamento con il menu si è interrotto"));
        pumpIncoming();
    }
    MenuMessage reply = std::move(m_replies.at(id));
    if (reply.kind == MenuMessage::Kind::Fault) {
        const int32_t number = reply.args.size() > 0 && reply.args[0].isNumber() ? reply.args[0].toLong() : ErrNum::InvalidCall;
        const QString text = reply.args.size() > 1 ? reply.args[1].text() : QString();
        throw AppError(number, text.isEmpty() ? standardErrorText(number) : text, QStringLiteral("ServerMenu"));
    }
    return reply.args.empty() ? Variant() : reply.args.front();
}

void SocketMenuClient::pumpIncoming()
{
    if (!m_socket || m_state != State::Connected)
        return;
    const bool begun = m_reader.incomplete();
    const QByteArray bytes = m_socket->readAll();
    if (!bytes.isEmpty())
        m_reader.append(bytes);
    bool whole = false;
    try {
        while (m_state == State::Connected) {
            std::optional<MenuMessage> m = m_reader.next();
            if (!m)
                break;
            whole = true;
            handleMessage(std::move(*m));
        }
    } catch (const AppError &e) {
        breakLink(e.description());
    }
    if (m_state != State::Connected)
        return;
    // A message begun now has the call time-out to arrive whole; one already under way keeps
    // the time it had.
    if (!m_reader.incomplete()) {
        m_incompleteTimer->stop();
    } else if (!begun || whole) {
        m_incompleteDeadline = QDeadlineTimer(m_callTimeoutMs);
        m_incompleteTimer->start(m_callTimeoutMs);
    }
}

void SocketMenuClient::checkIncomplete()
{
    pumpIncoming();
    if (m_state != State::Connected || !m_reader.incomplete())
        return;
    if (m_incompleteDeadline.hasExpired())
        breakLink(kIncompleto);
    else
        m_incompleteTimer->start(static_cast<int>(qMax<qint64>(1, m_incompleteDeadline.remainingTime())));
}

void SocketMenuClient::handleMessage(MenuMessage m)
{
    switch (m.kind) {
    case MenuMessage::Kind::Reply:
    case MenuMessage::Kind::Fault:
        // A reply that comes after its call gave up is dropped.
        if (m_waiting.count(m.id))
            m_replies.emplace(m.id, std::move(m));
        return;
    case MenuMessage::Kind::Command: {
        if (m.args.size() != 4 || !m.args[0].isText() || !m.args[1].isText() || !m.args[2].isText())
            menucodec::malformed("comando senza i suoi argomenti");
        const qsizetype bytes = m_reader.lastFrameBytes();
        if (m_commands.size() >= MaxPendingCommands || m_pendingBytes + bytes > MaxPendingBytes)
            menucodec::malformed("troppi comandi in attesa");
        m_pendingBytes += bytes;
        m_commands.push_back(
            Command{m.id, m.args[0].text(), m.args[1].text(), m.args[2].text(), std::move(m.args[3]), bytes});
        if (m_callDepth == 0)
            scheduleDispatch();
        return;
    }
    case MenuMessage::Kind::Call:
    case MenuMessage::Kind::CommandReply:
        menucodec::malformed("messaggio in direzione sbagliata");
    }
}

void SocketMenuClient::breakLink(const QString &reason)
{
    if (m_state == State::Closed)
        return;
    m_state = State::Closed;
    m_closeReason = reason;
    m_broken = true;
    m_commands.clear();
    m_pendingBytes = 0;
    m_incompleteTimer->stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
    // Told from the event loop, never from inside the call or the read that found it.
    QMetaObject::invokeMethod(this, [this, reason] { emit CollegamentoPerso(reason); }, Qt::QueuedConnection);
}

void SocketMenuClient::closeLink()
{
    if (m_state != State::Connected)
        return;
    m_state = State::Closed;
    m_closeReason = QStringLiteral("Il programma si è scollegato dal menu");
    m_commands.clear();
    m_pendingBytes = 0;
    m_incompleteTimer->stop();
    m_socket->disconnect(this);
    m_socket->flush();
    if (m_socket->bytesToWrite() > 0)
        m_socket->waitForBytesWritten(m_connectTimeoutMs);
    m_socket->disconnectFromServer();
}

void SocketMenuClient::Scollega()
{
    if (m_state != State::Connected) {
        if (m_state == State::Unconnected) {
            m_state = State::Closed;
            m_closeReason = QStringLiteral("Il programma si è scollegato dal menu");
        }
        return;
    }
    struct Close {
        SocketMenuClient *c;
        ~Close()
        {
            if (c->m_dispatchDepth > 0)
                c->m_closeAfterDispatch = true;
            else
                c->closeLink();
        }
    } close{this};
    MenuClient::Scollega();
}

void SocketMenuClient::scheduleDispatch()
{
    if (m_dispatchScheduled)
        return;
    m_dispatchScheduled = true;
    QMetaObject::invokeMethod(this, [this] { guarded("MenuClient::EseguiComando", [&] { dispatchNext(); }); },
                              Qt::QueuedConnection);
}

void SocketMenuClient::dispatchNext()
{
    m_dispatchScheduled = false;
    // Inside a call the queue waits: the call's end schedules the next delivery.
    if (m_callDepth > 0 || m_commands.empty() || m_state != State::Connected)
        return;
    Command c = std::move(m_commands.front());
    m_commands.pop_front();
    m_pendingBytes -= c.bytes;
    if (!m_commands.empty())
        scheduleDispatch();

    QPointer<SocketMenuClient> self(this);
    Variant answer;
    ++m_dispatchDepth;
    try {
        emit EseguiComando(c.idMenu, c.keySec, c.com, c.param, answer);
    } catch (const AppError &e) {
        reportUncaughtError(e);
    } catch (const std::exception &e) {
        reportUncaughtError(AppError(ErrNum::InvalidCall, QString::fromLocal8Bit(e.what()), QStringLiteral("EseguiComando")));
    } catch (...) {
        reportUncaughtError(AppError(ErrNum::InvalidCall, QStringLiteral("Errore non previsto"), QStringLiteral("EseguiComando")));
    }
    if (!self)
        return; // the handler released the client
    --m_dispatchDepth;
    sendAnswer(c.id, answer);
    if (m_closeAfterDispatch && m_dispatchDepth == 0) {
        m_closeAfterDispatch = false;
        closeLink();
    }
}

void SocketMenuClient::sendAnswer(uint32_t id, const Variant &answer)
{
    if (m_state != State::Connected)
        return;
    m_socket->write(encodeFrame(MenuMessage{MenuMessage::Kind::CommandReply, id, {}, {answer}}));
    m_socket->flush();
}
