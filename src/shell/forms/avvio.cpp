#include "avvio.h"

#include "agganci.h"
#include "apridbazienda.h"
#include "chiusura.h"
#include "contesto.h"
#include "contestoaiuto.h"
#include "datiditta.h"
#include "dialoghi.h"
#include "eventiaiuto.h"
#include "forms.h"
#include "frmaiuto.h"
#include "frmprincipale.h"
#include "gestoreaiuto.h"
#include "leggiini.h"
#include "loginterminali.h"
#include "menuclient.h"
#include "menucomandi.h"
#include "modhtmlhelp.h"
#include "numparse.h"
#include "parametri.h"
#include "rigacomandoprogramma.h"
#include "risvid.h"
#include "schermo.h"
#include "utilgenerali.h"

#include <new>

namespace {

const QString kACapo = QStringLiteral("\r\n");
const QString kMenuNonInEsecuzione =
    QStringLiteral("Il menu principale non è in esecuzione") + kACapo +
    QStringLiteral("Questo programma non può essere eseguito autonomamente");
const QString kCollegamentoPerso = QStringLiteral("Il collegamento con il menu principale si è interrotto") +
                                   kACapo + QStringLiteral("Il programma viene chiuso");
constexpr int32_t kErrMemoria = 7;
constexpr int32_t kErrInterno = 51;

enum class StatoAvvio { NonIniziato, InCorso, Fallito, Riuscito };
StatoAvvio gStatoAvvio = StatoAvvio::NonIniziato;
bool gPersoDetto = false;

void messaggioAvvio(const QString &testo)
{
    frmMsgCom::msgCom(testo, QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, {}, 1, {}, false);
}

void messaggioZona3(int32_t numero, const QString &descrizione)
{
    if (numero == UtilGenerali::NumeroErrore(ErrNum::InvalidCall))
        dialoghi().MsgBox(kMenuNonInEsecuzione, PulsantiMsg::Ok, IconaMsg::Errore, QString());
    else if (numero == UtilGenerali::NumeroErrore(kErrMemoria))
        dialoghi().MsgBox(QStringLiteral("Memoria esaurita") + kACapo + QStringLiteral("Chiudere qualche programma e riprovare"),
                          PulsantiMsg::Ok, IconaMsg::Errore, QString());
    else
        dialoghi().MsgBox(QStringLiteral("Errore (") + QString::number(numero) + QStringLiteral("): ") + descrizione +
                              kACapo + QStringLiteral("Probabilmente il menù non è stato avviato correttamente"),
                          PulsantiMsg::Ok, IconaMsg::Nessuna, QString());
}

double fattoreIni(const QString &chiave, const QString &predefinito)
{
    QString valore;
    LeggiIni(QStringLiteral("Risoluzione Video"), chiave, predefinito, valore);
    return UtilGenerali::ValoreNumerico(Variant(valore));
}

// "VersMenu" as a number: "1.06", "1,07" or a number the server keeps as such.
double versioneMenu()
{
    const Variant v = LeggiParamMenu(QStringLiteral("VersMenu"));
    if (v.isNumber())
        return v.toDouble();
    return leadingNumber(v.text());
}

void inizializzaAiuto()
{
    ggEventiAiuto = std::make_shared<scEventiAiuto>();
    ggAiuto = ggEventiAiuto->ogAiuto();
    if (!ggAiuto->FormAiuto())
        InstallaFinestraAiuto(*ggAiuto);
    try {
        if (QWidget *finestra = ggAiuto->FormAiuto())
            finestra->setProperty("odRisVid", gdRisVidHelp);
    } catch (...) {
    }
    ImpostazioniAiuto i;
    i.formPrincipale = ggFrmPrincipale;
    i.menuClient = ggMenuClient.condiviso();
    i.connessione = ggDbAzienda.condiviso();
    i.nomeConn = gsNomeConn;
    i.dao = ggDbDao.condiviso();
    i.colNormale = glColNormale;
    i.colErrore = glColErrore;
    i.parAiuto = gsParAiuto;
    i.formatData = gsFormatData;
    ggAiuto->Inizializza(std::move(i));
    ggFrmPrincipale = ggAiuto->impostazioni().formPrincipale;
    ggFrmAiuto = ggAiuto->FormAiuto();
    const Variant spostamento = LeggiParamPers(QStringLiteral("Help"), QStringLiteral("HlpSpost"), Variant(QString()));
    if (!spostamento.text().isEmpty() && ggFrmAiuto) {
        ggFrmAiuto->setProperty("obLockSpostaCurs", true);
        ggFrmAiuto->setProperty("oiSpostaCurs", UtilGenerali::ValoreNonNullo(spostamento).toInteger());
    }
}

// From step 6 on: zone 3. False when the program's window did not open.
bool avvioDopoCollegamento(int32_t codice, const QString &testo, Variant rispostaProc)
{
    gsFileIni = ggMenuClient->FileIni();
    MostraVersione(true, true);
    gsNomeDBAzie = LeggiParamMenu(QStringLiteral("NomeDBAzie")).text();
    gsConnectDBAzie = LeggiParamMenu(QStringLiteral("ConnectDBAzie")).text();
    if (ApriDbAzienda(QStringLiteral("suite.ini"), QStringLiteral("C:\\SuiteInst.ini"), ggDbAzienda, gsNomeConn)) {
        ChiudiConTimer();
        return false;
    }
    if (UtilGenerali::Vuoto(Variant(gsNomeConn)) || gsNomeConn.left(4) == QLatin1String("Err:")) {
        ChiudiConTimer();
        return false;
    }
    InizProgramma();
    LeggiFattoriRisoluzione();
    inizializzaAiuto();
    const QString nomeForm = UtilGenerali::ValoreOpzione(RigaComando(), QStringLiteral("F")).trimmed();

    VariantArray seg;
    seg.items = {codice == -1 ? Variant(testo) : Variant(codice), rispostaProc};
    if (versioneMenu() >= 1.07)
        rispostaProc = ggMenuClient->InviaComando(QStringLiteral("AddSeg"), QStringLiteral("Tutti"), Variant(seg));
    else
        ggMenuClient->InviaComando(QStringLiteral("AddSeg"), QStringLiteral("Tutti"), Variant(codice));

    LeggiIni(QStringLiteral("Parametri Generali"), QStringLiteral("BeepCome"), QString(), gsBeepCome);
    gsDataMinima =
        LeggiParamPers(QStringLiteral("Tutti"), QStringLiteral("DataMinima"), Variant(QStringLiteral("01/01/1900"))).text();

    const QString chiLancia = ggMenuClient->LancioCorrente().osChiLancia;
    const QString keySecLancia = ggMenuClient->LancioCorrente().osKeySecLancia;
    const QString paramLancia = ggMenuClient->LancioCorrente().osParamLancia;
    return ApriFormNome(nomeForm, true, gsProgrammaPar, chiLancia, keySecLancia, paramLancia);
}

} // namespace

void Main()
{
    installaAgganciProgramma();
    QString testo;
    gStatoAvvio = StatoAvvio::InCorso;
    if (!AvvioProgramma(27, testo)) {
        gStatoAvvio = StatoAvvio::Fallito;
        return;
    }
    try {
        LeggiRestrizioniTerminale();
    } catch (...) {
        gbDisabTermPrz = false;
        gbDisabTermVisPrz = false;
    }
    gStatoAvvio = StatoAvvio::Riuscito;
    // A link lost during the start-up's last questions (their failures leave the defaults).
    if (ggMenuClient && ggMenuClient->Interrotto())
        CollegamentoMenuPerso();
}

void CollegamentoMenuPerso()
{
    if (gStatoAvvio == StatoAvvio::InCorso || gStatoAvvio == StatoAvvio::Fallito || gPersoDetto || !ggFrmPrincipale)
        return;
    gPersoDetto = true;
    MessaggioEChiudi(kCollegamentoPerso, PulsantiMsg::Ok, true);
}

bool AvvioProgramma(int32_t codice, QString &testo)
{
    gsParAiuto = QStringLiteral("p");
    giSuonoAvviso = 0;
    gsStatoModale.clear();

    const QString riga = RigaComando();
    gsIdMenu = UtilGenerali::ValoreOpzione(riga, QStringLiteral("M")).trimmed();
    gsProgramma = UtilGenerali::ValoreOpzione(riga, QStringLiteral("P")).trimmed();
    gsProgrammaPar.clear();
    if (const qsizetype spazio = gsProgramma.indexOf(u' '); spazio >= 0) {
        gsProgrammaPar = gsProgramma.mid(spazio + 1);
        gsProgramma = gsProgramma.left(spazio);
    }

    CaricaFormPrincipale();

    Variant rispostaProc;
    try {
        ggMenuComandi = std::make_shared<scMenuComandiClie>();
        ggMenuClient = ggMenuComandi->ogMenuClient();
        ggMenuClient->Collega(gsIdMenu, gsProgramma, gsProgrammaPar);
        // the menu's user stays the same while the program is linked to it
        ggMenuClient->TieniNomeUtente(true);
        rispostaProc = ggMenuClient->InviaComando(QStringLiteral("PrepProcCorr"), QStringLiteral("Tutti"));
    } catch (...) {
        messaggioAvvio(kMenuNonInEsecuzione);
        ChiudiConTimer();
        return false;
    }

    try {
        ImpostaAppHelpFile(UtilGenerali::ValoreOpzione(ggMenuClient->LancioCorrente().osParam, QStringLiteral("H")).trimmed());
    } catch (...) {
        messaggioAvvio(QStringLiteral("Problemi col collegamento col menù") + kACapo +
                       QStringLiteral("Forse questo programma non è stato lanciato correttamente"));
        ChiudiConTimer();
        return false;
    }

    try {
        return avvioDopoCollegamento(codice, testo, rispostaProc);
    } catch (const AppError &e) {
        messaggioZona3(UtilGenerali::NumeroErrore(e), e.description());
    } catch (const std::bad_alloc &) {
        messaggioZona3(UtilGenerali::NumeroErrore(kErrMemoria), QString());
    } catch (const std::exception &e) {
        messaggioZona3(UtilGenerali::NumeroErrore(kErrInterno), QString::fromLocal8Bit(e.what()));
    }
    ChiudiConTimer();
    return false;
}

bool ApriFormNome(const QString &nome, bool primaAttivazione, const QString &keySec, const QString &chiLancia,
                  const QString &keySecLancia, const QString &paramLancia)
{
    const QString n = nome.trimmed();
    if (!n.isEmpty() && n.compare(QLatin1String("frmEvasOrd"), Qt::CaseInsensitive) == 0)
        return AttivaForm(n, primaAttivazione, keySec, chiLancia, keySecLancia, paramLancia, true);
    MessaggioEChiudi(QStringLiteral("La form richiesta e' inesistente"), PulsantiMsg::Ok, true);
    return false;
}

void LeggiFattoriRisoluzione()
{
    gdRisVidGen = fattoreIni(QStringLiteral("Generale"), QStringLiteral("0"));
    gdRisVidPers = gdRisVidGen == -2 ? fattoreIni(QStringLiteral("PersBase"), QStringLiteral("0")) : gdRisVidGen;
    for (auto [chiave, fattore] : {std::pair{QStringLiteral("StaVid"), &gdRisVidSta},
                                   std::pair{QStringLiteral("Help"), &gdRisVidHelp},
                                   std::pair{QStringLiteral("MsgCom"), &gdRisVidMsg}}) {
        double f = fattoreIni(chiave, QStringLiteral("-2"));
        if (f == -2)
            f = gdRisVidGen == -2 ? gdRisVidPers : gdRisVidGen;
        if (f == -2 || f == 0) {
            int16_t larghezza = 0, altezza = 0;
            f = LeggiRisSchermo(larghezza, altezza);
        }
        *fattore = f;
    }
}

void installaAgganciProgramma()
{
    impostaAgganci({[] { ScollegaMenu(); }, [] { return Variant(FineProgramma()); }});
}

Variant TornaAlMenuPrg()
{
    TornaAlMenu();
    return {};
}

Variant RichiediChiusuraPrg(int16_t &flag)
{
    RichiediChiusura(flag != 0);
    return {};
}

Variant PrepDecodPrg(const QString &, const QString &, const Variant &, const Variant &,
                     const std::optional<Variant> &, const std::optional<Variant> &)
{
    // This program prepares no decode of its own for the lookup window: the options (113 and 1
    // when not given) would only choose among decodes it does not have.
    return Variant(true);
}

void EseguiComandoPrg(const QString &psIdMenu, const QString &psKeySec, const QString &psCom, const Variant &pvParam,
                      Variant &pvRitComando)
{
    EseguiComandoMenu(psIdMenu, psKeySec, psCom, pvParam, pvRitComando);
}
