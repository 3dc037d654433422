#include "menuserver.h"

#include "apperror.h"
#include "guard.h"
#include "menuclient.h"
#include "rigacomando.h"
#include "textcompare.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>

MenuServer::MenuServer(MenuConfig config, QObject *parent)
    : QObject(parent), m_responder(std::move(config)), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this,
            [this] { guarded("MenuServer::newConnection", [&] { onNewConnection(); }); });
}

MenuServer::~MenuServer()
{
    if (m_process) {
        m_process->disconnect(this);
        if (m_process->state() != QProcess::NotRunning) {
            m_process->kill();
            m_process->waitForFinished(3000);
        }
    }
    for (auto &l : m_links)
        l->socket->disconnect(this);
}

bool MenuServer::listen()
{
    if (m_name.isEmpty())
        m_name = QStringLiteral("servermenu-%1-%2")
                     .arg(QCoreApplication::applicationPid())
                     .arg(QRandomGenerator::global()->generate64(), 0, 36);
    QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name))
        return false;
    m_fullName = m_server->fullServerName();
    return true;
}

QString MenuServer::socketName() const
{
    return m_fullName;
}

QStringList MenuServer::programArguments() const
{
    const MenuConfig &c = m_responder.config();
    Switches s;
    const std::pair<QChar, const std::optional<QString> *> all[] = {
        {u'M', &c.switchM}, {u'P', &c.switchP}, {u'F', &c.switchF}, {u'I', &c.switchI}};
    for (const auto &[letter, value] : all)
        if (*value)
            s.emplace_back(letter, **value);
    return argomentiSwitch(s);
}

void MenuServer::startProgram(QProcessEnvironment env)
{
    if (programRunning())
        return;
    m_exitCode.reset();
    if (!m_process) {
        m_process = new QProcess(this);
        m_process->setProcessChannelMode(QProcess::ForwardedChannels);
        connect(m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
            const int c = status == QProcess::NormalExit ? code : -1;
            m_exitCode = c;
            m_responder.record(JournalEntry{JournalEntry::Kind::Uscita, QString::number(c), {}, {}, {}, false});
            emit programFinished(c);
        });
        connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
            if (e != QProcess::FailedToStart)
                return;
            m_exitCode = -1;
            m_responder.record(JournalEntry{JournalEntry::Kind::Uscita, QStringLiteral("-1 (non avviato)"), {}, {}, {}, false});
            emit programFinished(-1);
        });
    }
    env.insert(QString::fromLatin1(kMenuSocketEnv), socketName());
    m_process->setProcessEnvironment(env);
    const QStringList args = programArguments();
    m_responder.record(JournalEntry{JournalEntry::Kind::Avvio,
                                    m_responder.config().programma + u' ' + rigaComando(args), {}, {}, {}, false});
    m_process->start(m_responder.config().programma, args);
}

bool MenuServer::programRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

void MenuServer::killProgram()
{
    if (programRunning())
        m_process->kill();
}

void MenuServer::stopProgram(int graceMs)
{
    if (!programRunning())
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(graceMs)) {
        m_process->kill();
        m_process->waitForFinished(graceMs);
    }
}

bool MenuServer::linked() const
{
    return current() != nullptr;
}

MenuServer::Link *MenuServer::current() const
{
    for (auto it = m_links.rbegin(); it != m_links.rend(); ++it)
        if ((*it)->socket->state() == QLocalSocket::ConnectedState)
            return it->get();
    return nullptr;
}

uint32_t MenuServer::sendCommand(const QString &com, const QString &keySec, const Variant &param, const QString &idMenu)
{
    Link *link = current();
    if (!link)
        return 0;
    const uint32_t ticket = ++m_nextCommand;
    m_commands[ticket] =
        m_responder.record(JournalEntry{JournalEntry::Kind::Comando, com, {keySec, param}, {}, {}, false});
    link->socket->write(encodeFrame(MenuMessage{MenuMessage::Kind::Command, ticket, QStringLiteral("EseguiComando"),
                                                {idMenu, keySec, com, param}}));
    link->socket->flush();
    return ticket;
}

std::optional<Variant> MenuServer::answer(uint32_t ticket) const
{
    const auto c = m_commands.find(ticket);
    if (c == m_commands.end() || !m_responder.journal().at(c->second).answered)
        return std::nullopt;
    return m_responder.journal().at(c->second).result;
}

const JournalEntry &MenuServer::commandEntry(uint32_t ticket) const
{
    return m_responder.journal().at(m_commands.at(ticket));
}

void MenuServer::refuseConnections(bool refuse)
{
    m_refusing = refuse;
    if (refuse)
        m_server->close();
    else if (!m_server->isListening())
        listen();
}

void MenuServer::delayCall(const QString &op, int ms)
{
    if (ms > 0)
        m_delays[op] = ms;
    else
        m_delays.erase(op);
}

void MenuServer::dropOnCall(const QString &op, int nth)
{
    m_dropOn = op;
    m_dropAfter = nth > 1 ? nth - 1 : 0;
}

void MenuServer::dropConnection()
{
    if (Link *link = current())
        link->socket->abort();
}

void MenuServer::sendRaw(const QByteArray &bytes)
{
    if (Link *link = current()) {
        link->socket->write(bytes);
        link->socket->flush();
    }
}

int MenuServer::delayFor(const QString &op) const
{
    if (const auto d = m_delays.find(op); d != m_delays.end())
        return d->second;
    if (const auto d = m_delays.find(QString()); d != m_delays.end())
        return d->second;
    return 0;
}

void MenuServer::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (m_refusing) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto link = std::make_unique<Link>();
        link->socket = socket;
        Link *l = link.get();
        m_links.push_back(std::move(link));
        m_responder.record(JournalEntry{JournalEntry::Kind::Connessione, {}, {}, {}, {}, false});
        connect(socket, &QLocalSocket::readyRead, this, [this, l] { guarded("MenuServer::readyRead", [&] { onReadyRead(l); }); });
        connect(socket, &QLocalSocket::disconnected, this,
                [this, l] { guarded("MenuServer::disconnected", [&] { onDisconnected(l); }); });
        // Bytes that came with the connection.
        if (socket->bytesAvailable() > 0)
            onReadyRead(l);
    }
}

void MenuServer::onReadyRead(Link *link)
{
    link->reader.append(link->socket->readAll());
    try {
        while (link->socket->state() == QLocalSocket::ConnectedState) {
            std::optional<MenuMessage> m = link->reader.next();
            if (!m)
                break;
            handle(link, std::move(*m));
        }
    } catch (const AppError &e) {
        reject(link, e.description());
    }
}

void MenuServer::reject(Link *link, const QString &why)
{
    m_responder.record(JournalEntry{JournalEntry::Kind::Rifiuto, why, {}, {}, {}, false});
    link->socket->abort();
}

void MenuServer::handle(Link *link, MenuMessage m)
{
    switch (m.kind) {
    case MenuMessage::Kind::Call: {
        if (!m_dropOn.isEmpty() && textEquals(m.op, m_dropOn) && m_dropAfter-- <= 0) {
            reject(link, QStringLiteral("collegamento interrotto alla chiamata ") + m.op);
            return;
        }
        MenuMessage reply{MenuMessage::Kind::Reply, m.id, {}, {}};
        try {
            reply.args = {m_responder.answer(m.op, m.args)};
        } catch (const AppError &e) {
            reply.kind = MenuMessage::Kind::Fault;
            reply.args = {e.number(), e.description()};
        }
        const QByteArray frame = encodeFrame(reply);
        const int delay = delayFor(m.op);
        if (delay <= 0) {
            link->socket->write(frame);
            link->socket->flush();
            return;
        }
        QPointer<QLocalSocket> socket(link->socket);
        QTimer::singleShot(delay, this, [socket, frame] {
            if (socket && socket->state() == QLocalSocket::ConnectedState) {
                socket->write(frame);
                socket->flush();
            }
        });
        return;
    }
    case MenuMessage::Kind::CommandReply: {
        const auto c = m_commands.find(m.id);
        if (c == m_commands.end() || m_responder.entry(c->second).answered)
            menucodec::malformed("risposta a un comando mai inviato");
        JournalEntry &e = m_responder.entry(c->second);
        e.result = m.args.empty() ? Variant() : m.args.front();
        e.answered = true;
        emit commandAnswered(m.id);
        return;
    }
    case MenuMessage::Kind::Reply:
    case MenuMessage::Kind::Fault:
    case MenuMessage::Kind::Command:
        menucodec::malformed("messaggio in direzione sbagliata");
    }
}

void MenuServer::onDisconnected(Link *link)
{
    m_responder.record(JournalEntry{JournalEntry::Kind::Disconnessione, {}, {}, {}, {}, false});
    link->socket->disconnect(this);
    // The link may still be on the stack (a rejected frame aborts it from its own read).
    QMetaObject::invokeMethod(
        this,
        [this, link] {
            const auto it = std::find_if(m_links.begin(), m_links.end(), [link](const auto &l) { return l.get() == link; });
            if (it != m_links.end()) {
                (*it)->socket->deleteLater();
                m_links.erase(it);
            }
        },
        Qt::QueuedConnection);
    emit linkClosed();
}
