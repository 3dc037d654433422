// A tiny program for the end-to-end tests of the menu link: started by the stand-in server,
// it reads its switches, registers, asks a few things and answers commands:
//   "echo" answers its parameter; "utente" asks NomeUtente and answers it; "rigacomando"
//   answers its switch text; "lancio" asks PrepLancio(keySec) and answers osParamLancia;
//   "preppassaa" calls AggiungiPassaA; "fine" calls Scollega, answers "" and ends (code 0).
// Exit code 3 when the link cannot be made.
#include "apperror.h"
#include "menuclient.h"
#include "rigacomando.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    auto sw = [&](const QString &letter) {
        const qsizetype i = args.indexOf(u'/' + letter);
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
    };
    const QString p = sw("P");
    const qsizetype blank = p.indexOf(u' ');

    std::unique_ptr<MenuClient> client = creaMenuClient();
    try {
        client->Collega(sw("M"), blank < 0 ? p : p.left(blank), blank < 0 ? QString() : p.mid(blank + 1));
        client->InviaComando("PrepProcCorr", "Tutti");
        client->LancioCorrente();
        client->LeggiParametro("Mag.GesTaglie");
    } catch (const AppError &e) {
        std::fprintf(stderr, "Errore(%d): %s\n", e.number(), qUtf8Printable(e.description()));
        return 3;
    }

    MenuClient *c = client.get();
    QObject::connect(c, &MenuClient::EseguiComando,
                     [&](const QString &, const QString &key, const QString &com, const Variant &param, Variant &ret) {
                         ret = "";
                         if (com == "echo") {
                             ret = param;
                         } else if (com == "utente") {
                             ret = c->NomeUtente();
                         } else if (com == "rigacomando") {
                             ret = rigaComando(args);
                         } else if (com == "lancio") {
                             c->PrepLancio(key);
                             ret = c->LancioCorrente().osParamLancia;
                         } else if (com == "preppassaa") {
                             c->AggiungiPassaA("Evasione ordini", "frmEvasOrd", key);
                         } else if (com.compare("fine", Qt::CaseInsensitive) == 0) {
                             c->Scollega();
                             QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
                         }
                     });
    return QCoreApplication::exec();
}
