// prepara_demo <cartella> <programma> <database>: writes the demo's ini chain and the
// stand-in menu server's configuration (servermenu.ini, journal giornale.txt) into the folder.
#include "apperror.h"
#include "democonfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr), out(stdout);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        err << "Uso: prepara_demo <cartella> <programma> <database>\n";
        return 2;
    }
    ConfigurazioneDemo c;
    c.cartella = args[1];
    c.programma = args[2];
    c.database = args[3];
    c.giornale = QDir(args[1]).absoluteFilePath(QStringLiteral("giornale.txt"));
    try {
        const FileDemo f = scriviConfigurazioneDemo(c);
        out << "Configurazione del server menu: " << f.serverMenu << "\n";
    } catch (const AppError &e) {
        err << e.description() << "\n";
        return 1;
    }
    return 0;
}
