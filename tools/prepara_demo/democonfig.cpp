#include "democonfig.h"

#include "apperror.h"
#include "companyfixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

constexpr int32_t kErrPercorso = 75;

// A value as the configuration file reads it back as text.
QString testo(const QString &v)
{
    return v.startsWith(u'@') ? u'@' + v : v;
}

void scrivi(const QString &percorso, const QString &contenuto)
{
    QDir().mkpath(QFileInfo(percorso).absolutePath());
    QFile f(percorso);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw AppError(kErrPercorso, QStringLiteral("Impossibile scrivere ") + percorso, QStringLiteral("prepara_demo"));
    f.write(contenuto.toUtf8());
}

} // namespace

FileDemo scriviConfigurazioneDemo(const ConfigurazioneDemo &c)
{
    const QDir dir(c.cartella);
    FileDemo f{dir.absoluteFilePath(QStringLiteral("suite.ini")), dir.absoluteFilePath(QStringLiteral("ditta.ini")),
               dir.absoluteFilePath(QStringLiteral("servermenu.ini"))};

    scrivi(f.suiteIni, QStringLiteral("[Parametri Generali]\n"
                                      "OrdIniDBase=ditta.ini\n"
                                      "BeepCome=\n"
                                      "\n"
                                      "[Risoluzione Video]\n"
                                      "Generale=1\n"));
    scrivi(f.dittaIni, QStringLiteral("[Configurazioni]\n"
                                      "FormatData=dd/mm/yyyy\n"));

    suite::FixtureOptions opzioni;
    opzioni.year = c.anno;
    QMap<QString, QString> parametri = suite::menuParameters(opzioni);
    parametri.insert(QStringLiteral("NomeDBAzie"), QFileInfo(c.database).absoluteFilePath());
    parametri.insert(QStringLiteral("ConnectDBAzie"), QString());
    parametri.insert(QStringLiteral("VersMenu"), QStringLiteral("1.07"));
    parametri.insert(QStringLiteral("Versione"), QStringLiteral("0.1"));
    parametri.insert(QStringLiteral("DataVersione"), QStringLiteral("2024"));
    for (auto it = c.parametri.cbegin(); it != c.parametri.cend(); ++it)
        parametri.insert(it.key(), it.value());

    QString s;
    QTextStream out(&s);
    out << "[Server]\n"
        << "Utente=" << c.utente << "\n"
        << "Terminale=" << c.terminale << "\n"
        << "DataLavoro=30/06/" << c.anno << "\n"
        << "FileIni=" << f.suiteIni << "\n"
        << "ProcCorrente=demo\n";
    if (!c.giornale.isEmpty())
        out << "Giornale=" << QFileInfo(c.giornale).absoluteFilePath() << "\n";
    const QString lancio = c.fileHelp.isEmpty()
                               ? QStringLiteral("/F frmEvasOrd")
                               : QStringLiteral("/F frmEvasOrd /H \"%1\"").arg(c.fileHelp);
    out << "\n[Programma]\n"
        << "Percorso=" << QFileInfo(c.programma).absoluteFilePath() << "\n"
        << "M=MENU\n"
        << "P=EVAORD\n"
        << "F=frmEvasOrd\n"
        << "\n[Lancio]\n"
        << "Param=" << lancio << "\n"
        << "TipoForm=0\n"
        << "\n[Lancio DEMO]\n"
        << "Param=" << lancio << "\n"
        << "TipoForm=0\n"
        << "\n[ParametriMenu]\n";
    for (auto it = parametri.cbegin(); it != parametri.cend(); ++it)
        out << it.key() << "=" << testo(it.value()) << "\n";
    out.flush();
    scrivi(f.serverMenu, s);
    return f;
}
