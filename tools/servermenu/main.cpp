// servermenu: the stand-in menu server as a program of its own.
//
//   servermenu <configuration file> [--senza-programma]
//
// Listens on a new local socket, starts the configured program (unless told not to) and
// serves it until it ends, then exits with its exit code. Commands are typed on standard
// input, one a line:
//     <comando> [<chiave secondaria> [<parametro>]]
// where "-" stands for an empty secondary key and the parameter is written as in the
// configuration file ("@Long 3", text otherwise); "esci", or the end of the input when no
// program runs, ends the server. Each answer is
// printed. "MsgBox" texts are printed, and shown in a window when there is a display.
// The journal goes to the file named by Giornale=, one line per entry; a command's line is
// written when its answer arrives.
#include "apperror.h"
#include "guard.h"
#include "menuserver.h"
#include "serverconfigfile.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTextStream>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

bool hasDisplay()
{
    const QByteArray qpa = qgetenv("QT_QPA_PLATFORM");
    if (qpa == "offscreen" || qpa == "minimal")
        return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void print(const QString &line)
{
    std::fputs(qUtf8Printable(line + u'\n'), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    const bool gui = hasDisplay();
    std::unique_ptr<QCoreApplication> app =
        gui ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);

    QStringList args = QCoreApplication::arguments().mid(1);
    const bool noProgram = args.removeAll(QStringLiteral("--senza-programma")) > 0;
    if (args.size() != 1) {
        print(QStringLiteral("Uso: servermenu <file di configurazione> [--senza-programma]"));
        return 2;
    }

    ServerMenuFile file;
    try {
        file = leggiFileServerMenu(args.front());
    } catch (const AppError &e) {
        print(QStringLiteral("Errore(%1): %2").arg(e.number()).arg(e.description()));
        return 2;
    }

    MenuServer server(file.config);
    QFile journal(file.giornale);
    if (!file.giornale.isEmpty() && !journal.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        print(QStringLiteral("Impossibile scrivere il giornale: ") + file.giornale);
        return 2;
    }
    auto writeJournal = [&journal](const JournalEntry &e) {
        if (journal.isOpen()) {
            journal.write((e.text() + u'\n').toUtf8());
            journal.flush();
        }
    };
    server.responder().onRecord = [writeJournal](const JournalEntry &e) {
        if (e.kind != JournalEntry::Kind::Comando)
            writeJournal(e);
    };
    server.responder().onMsgBox = [gui](const QString &text) {
        print(QStringLiteral("MsgBox: ") + text);
        if (gui) {
            auto *box = new QMessageBox(QMessageBox::Information, QStringLiteral("Server menu"), text);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->show();
        }
    };
    if (!server.listen()) {
        print(QStringLiteral("Impossibile aprire il socket del server menu"));
        return 2;
    }
    print(QStringLiteral("Server menu in ascolto su ") + server.socketName());

    QObject::connect(&server, &MenuServer::commandAnswered, &server, [&server, writeJournal](quint32 ticket) {
        writeJournal(server.commandEntry(ticket));
        print(QStringLiteral("Risposta %1: %2").arg(ticket).arg(menuLiteral(server.answer(ticket).value_or(Variant()))));
    });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, &server, [&] {
        guarded("servermenu::stdin", [&] {
            char buffer[4096];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer - 1);
            if (n <= 0) {
                // end of input: with no program to serve there is nothing left to do
                input.setEnabled(false);
                if (!server.programRunning())
                    QCoreApplication::exit(0);
                return;
            }
            pending.append(buffer, n);
            qsizetype end;
            while ((end = pending.indexOf('\n')) >= 0) {
                const QString line = QString::fromUtf8(pending.left(end)).trimmed();
                pending.remove(0, end + 1);
                if (line == QStringLiteral("esci")) {
                    QCoreApplication::exit(0);
                    return;
                }
                const QStringList w = line.split(u' ', Qt::SkipEmptyParts);
                if (w.isEmpty())
                    continue;
                const QString keySec = w.size() > 1 && w[1] != QStringLiteral("-") ? w[1] : QString();
                const Variant param = w.size() > 2 ? valoreConfigurazione(w.mid(2).join(u' ')) : Variant();
                const uint32_t ticket = server.sendCommand(w[0], keySec, param);
                print(ticket ? QStringLiteral("Comando %1 inviato: %2").arg(ticket).arg(w[0])
                             : QStringLiteral("Nessun programma collegato"));
            }
        });
    });

    if (!noProgram && !file.config.programma.isEmpty()) {
        QObject::connect(&server, &MenuServer::programFinished, &server, [](int code) {
            print(QStringLiteral("Programma terminato (%1)").arg(code));
            QCoreApplication::exit(code);
        });
        server.startProgram();
    }
    return QCoreApplication::exec();
}
