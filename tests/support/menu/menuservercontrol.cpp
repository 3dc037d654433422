#include "menuservercontrol.h"

#include "apperror.h"
#include "menuclient.h"
#include "menuserver.h"
#include "serverconfigfile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <exception>

MenuServerControl::MenuServerControl(MenuConfig config) : m_thread(std::make_unique<QThread>())
{
    m_server = new MenuServer(std::move(config));
    m_server->moveToThread(m_thread.get());
    QObject::connect(m_thread.get(), &QThread::finished, m_server, &QObject::deleteLater);
    m_thread->setObjectName(QStringLiteral("servermenu"));
    m_thread->start();
    if (!fromServer<bool>([](MenuServer &s) { return s.listen(); }))
        throw AppError(ErrNum::InvalidCall, QStringLiteral("Il server menu non riesce ad aprire il socket"));
}

MenuServerControl::~MenuServerControl()
{
    onServer([](MenuServer &s) { s.stopProgram(2000); });
    m_thread->quit();
    m_thread->wait();
}

MenuConfig MenuServerControl::loadConfig(const QString &path)
{
    return leggiFileServerMenu(path).config;
}

void MenuServerControl::onServer(const std::function<void(MenuServer &)> &f) const
{
    std::exception_ptr error;
    MenuServer *server = m_server;
    QMetaObject::invokeMethod(
        m_server,
        [&] {
            try {
                f(*server);
            } catch (...) {
                error = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (error)
        std::rethrow_exception(error);
}

bool MenuServerControl::waitFor(const std::function<bool()> &done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

QString MenuServerControl::socketName() const
{
    return fromServer<QString>([](MenuServer &s) { return s.socketName(); });
}

QProcessEnvironment MenuServerControl::clientEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kMenuSocketEnv), socketName());
    return env;
}

void MenuServerControl::setConfig(MenuConfig config)
{
    onServer([&](MenuServer &s) { s.responder().setConfig(std::move(config)); });
}

void MenuServerControl::setUser(const QString &utente)
{
    onServer([&](MenuServer &s) { s.responder().setUtente(utente); });
}

void MenuServerControl::setParameter(const QString &chiave, const Variant &valore)
{
    onServer([&](MenuServer &s) { s.responder().setParametro(chiave, valore); });
}

void MenuServerControl::startProgram(QProcessEnvironment env)
{
    onServer([&](MenuServer &s) { s.startProgram(std::move(env)); });
}

QStringList MenuServerControl::programArguments() const
{
    return fromServer<QStringList>([](MenuServer &s) { return s.programArguments(); });
}

void MenuServerControl::killProgram()
{
    onServer([](MenuServer &s) { s.killProgram(); });
}

bool MenuServerControl::programRunning() const
{
    return fromServer<bool>([](MenuServer &s) { return s.programRunning(); });
}

std::optional<int> MenuServerControl::waitForProgramExit(int timeoutMs)
{
    std::optional<int> code;
    waitFor(
        [&] {
            code = fromServer<std::optional<int>>([](MenuServer &s) { return s.exitCode(); });
            return code.has_value();
        },
        timeoutMs);
    return code;
}

uint32_t MenuServerControl::sendCommand(const QString &com, const QString &keySec, const Variant &param,
                                        const QString &idMenu)
{
    return fromServer<uint32_t>([&](MenuServer &s) { return s.sendCommand(com, keySec, param, idMenu); });
}

std::optional<Variant> MenuServerControl::awaitAnswer(uint32_t ticket, int timeoutMs)
{
    if (ticket == 0)
        return std::nullopt;
    std::optional<Variant> a;
    waitFor(
        [&] {
            a = fromServer<std::optional<Variant>>([&](MenuServer &s) { return s.answer(ticket); });
            return a.has_value();
        },
        timeoutMs);
    return a;
}

std::optional<Variant> MenuServerControl::command(const QString &com, const QString &keySec, const Variant &param,
                                                  int timeoutMs)
{
    return awaitAnswer(sendCommand(com, keySec, param), timeoutMs);
}

MenuJournal MenuServerControl::journal() const
{
    return fromServer<MenuJournal>([](MenuServer &s) { return s.responder().journal(); });
}

QStringList MenuServerControl::journalLines() const
{
    return ::journalLines(journal());
}

QStringList MenuServerControl::calls() const
{
    return journalCalls(journal());
}

QStringList MenuServerControl::messages() const
{
    return fromServer<QStringList>([](MenuServer &s) { return s.responder().messaggi(); });
}

bool MenuServerControl::waitForCall(const QString &op, int timeoutMs, int count)
{
    return waitFor([&] { return calls().count(op) >= count; }, timeoutMs);
}

bool MenuServerControl::waitUntilLinked(int timeoutMs)
{
    return waitFor([&] { return fromServer<bool>([](MenuServer &s) { return s.linked(); }); }, timeoutMs);
}

bool MenuServerControl::waitUntilUnlinked(int timeoutMs)
{
    return waitFor([&] { return !fromServer<bool>([](MenuServer &s) { return s.linked(); }); }, timeoutMs);
}

void MenuServerControl::refuseConnections(bool refuse)
{
    onServer([&](MenuServer &s) { s.refuseConnections(refuse); });
}

void MenuServerControl::failCall(const QString &op, int32_t number, const QString &description, int times)
{
    onServer([&](MenuServer &s) { s.responder().failCall(op, number, description, times); });
}

void MenuServerControl::clearFailures()
{
    onServer([](MenuServer &s) { s.responder().clearFailures(); });
}

void MenuServerControl::delayCall(const QString &op, int ms)
{
    onServer([&](MenuServer &s) { s.delayCall(op, ms); });
}

void MenuServerControl::dropOnCall(const QString &op, int nth)
{
    onServer([&](MenuServer &s) { s.dropOnCall(op, nth); });
}

void MenuServerControl::dropConnection()
{
    onServer([](MenuServer &s) { s.dropConnection(); });
}

void MenuServerControl::sendRaw(const QByteArray &bytes)
{
    onServer([&](MenuServer &s) { s.sendRaw(bytes); });
}
