#include "apridbazienda.h"

#include "agganci.h"
#include "contesto.h"
#include "dialoghi.h"
#include "errori.h"
#include "finestraconnessione.h"
#include "inifile.h"
#include "logindb.h"
#include "parametri.h"
#include "rigacomandoprogramma.h"
#include "textcompare.h"
#include "utilgenerali.h"
#include "winpaths.h"

#include <QCoreApplication>
#include <QDir>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kParametriGenerali = QStringLiteral("Parametri Generali");
const QString kListaFileIni = QStringLiteral("Lista File Ini");
const QString kOrdIniDBase = QStringLiteral("OrdIniDBase");

bool chiudi()
{
    ChiudiPerErrore(true);
    return true;
}

bool errore(const QString &testo)
{
    dialoghi().MsgBox(testo, PulsantiMsg::Ok, IconaMsg::Errore, QString());
    return chiudi();
}

QString cartellaEseguibile()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

// The main ini file: the first candidate that exists, "" when none does.
QString cercaFileIni(const QString &nomeIni, const QString &iniInstallazione)
{
    QStringList candidati;
    const QString daRiga = UtilGenerali::ValoreOpzione(RigaComando(), QStringLiteral("I")).trimmed();
    if (!daRiga.isEmpty())
        candidati << daRiga;
    candidati << UtilGenerali::LeggiValoreIni(QStringLiteral("Setup"), QStringLiteral("IniPrincipale"), QString(),
                                              iniInstallazione)
              << QDir(UtilGenerali::DirProgramma()).filePath(nomeIni)
              << QDir(cartellaEseguibile() + QStringLiteral("/main")).filePath(nomeIni)
              << QDir::current().filePath(nomeIni) << QDir(cartellaEseguibile()).filePath(nomeIni);
    for (const QString &c : candidati)
        if (UtilGenerali::EsisteFile(c))
            return c;
    return {};
}

// No main ini lists more databases than this: a larger "NumIni" is wrong information, and
// its prompt could never be shown.
constexpr int32_t kMaxVociIni = 999;

enum class Scelta { Fatta, Fallita };

// The database entry of the main ini file, into gsIniScelta. `voce` keeps the entry between
// passes (a negative choice leaves it as it was).
Scelta scegliVoce(const IniFile &ini, QString &voce)
{
    const int32_t n = ini.intValue(kParametriGenerali, QStringLiteral("NumIni"), 0);
    if (n > kMaxVociIni)
        return Scelta::Fallita;
    int16_t scelta = 0;
    if (n > 0) {
        QString prompt = QStringLiteral("Numero di ini scelto") + kCrLf + QStringLiteral("(da 0 a ") +
                         QString::number(n) + QStringLiteral(")");
        for (int32_t i = 1; i <= n; ++i)
            prompt += kCrLf + QString::number(i) + QStringLiteral(" -> ") +
                      ini.value(kListaFileIni, kOrdIniDBase + QString::number(i), QString());
        const auto risposta = dialoghi().InputBox(prompt, QStringLiteral("Scelta dell'INI"), QStringLiteral("0"));
        scelta = UtilGenerali::ValoreNonNullo(Variant(risposta.value_or(QString()))).toInteger();
    }
    if (scelta > 0) {
        if (const auto v = ini.value(kListaFileIni, kOrdIniDBase + QString::number(scelta)))
            voce = *v;
        else
            scelta = 0;
    }
    if (scelta == 0) {
        const auto v = ini.value(kParametriGenerali, kOrdIniDBase);
        if (!v)
            return Scelta::Fallita;
        voce = *v;
    }
    gsIniScelta = voce;
    return Scelta::Fatta;
}

} // namespace

bool ApriDbAzienda(const QString &nomeIni, const QString &iniInstallazione, RifOggetto<ConnessioneDb> &conn,
                   QString &nomeConn)
{
    const QString password = LeggiParamMenu(QStringLiteral("PwdDbAzie")).text();

    if (gsFileIni.isEmpty()) {
        const QString trovato = cercaFileIni(nomeIni, iniInstallazione);
        if (trovato.isEmpty())
            return errore(QStringLiteral("File ini non trovato") + kCrLf + QStringLiteral("Sistemare e rieseguire"));
        gsFileIni = trovato;
    }

    QString voce;
    for (;;) {
        const IniFile ini = IniFile::load(mapWindowsPath(gsFileIni));
        if (scegliVoce(ini, voce) == Scelta::Fallita)
            return errore(QStringLiteral("File di inizializzazione non trovato") + QLatin1Char('\n') +
                          QStringLiteral("o con informazioni non corrette.") + QLatin1Char('\n') +
                          QStringLiteral("Correggere e rieseguire il programma."));
        const QString visParam = ini.value(kParametriGenerali, QStringLiteral("VisParam"), QString());
        if (!textEquals(visParam, u"TUTTO") && !textEquals(visParam, u"DB1"))
            break;
        const int risposta = dialoghi().MsgBox(
            QStringLiteral("Parametri letti:") + kCrLf + QStringLiteral("File dei parametri: ") + voce + kCrLf +
                QStringLiteral("Database: ") + gsNomeDBAzie + kCrLf + QStringLiteral("Tipo Connessione: ") +
                gsConnectDBAzie + kCrLf,
            PulsantiMsg::SiNoAnnulla, IconaMsg::Domanda, QString());
        if (risposta == RispostaMsg::Si)
            break;
        if (risposta != RispostaMsg::No)
            return chiudi();
    }

    for (;;) {
        try {
            finestraConn().Carica();
            finestraConn().Mostra();
            finestraConn().ImpostaCaption(QStringLiteral("Connessione primaria al database"));
            finestraConn().Ridisegna();
            nomeConn = LoginDbSql(conn, gsNomeDBAzie, password, gsConnectDBAzie);
            if (conn && !nomeConn.isEmpty() && !nomeConn.startsWith(QLatin1String("Err:")))
                UtilGenerali::ImpostaAreaDiLavoro(conn.get());
            return false;
        } catch (const AppError &e) {
            const int32_t numero = UtilGenerali::NumeroErrore(e);
            if (numero == ErrDb::NonDatabase) {
                const int risposta = dialoghi().MsgBox(QStringLiteral("Errore nell'apertura del database ") +
                                                           gsNomeDBAzie + kCrLf +
                                                           QStringLiteral("Vuoi tentare di recuperarlo"),
                                                       PulsantiMsg::OkAnnulla, IconaMsg::Domanda, QString());
                if (risposta == RispostaMsg::Ok && UtilGenerali::RecuperaDatabase(gsNomeDBAzie) == 0)
                    continue;
                return chiudi();
            }
            return errore(QStringLiteral("Errore ") + QString::number(numero) +
                          QStringLiteral(" nell'apertura del database.") + QLatin1Char('\n') +
                          QStringLiteral("Correggere e riprovare. (") + e.description() + QStringLiteral(") "));
        }
    }
}
