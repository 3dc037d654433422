#include "menucomandi.h"

#include "avvio.h"
#include "chiusura.h"
#include "contesto.h"
#include "finestraconnessione.h"
#include "formprogramma.h"
#include "forms.h"
#include "frmprincipale.h"
#include "gestioneforms.h"
#include "guard.h"
#include "menuclient.h"
#include "messaggife.h"
#include "mostraform.h"
#include "numparse.h"
#include "utilgenerali.h"

#include <QApplication>
#include <QTimer>

QString gsKeyPrgPrim;
QString gsKeyPrgSec;
QString gsComandoPrgClie;

namespace {

constexpr int32_t kErrFormNonVisualizzabile = 364;

bool aiutoVisibile()
{
    return ggFrmAiuto && ggFrmAiuto->isVisible();
}

void nascondiAiuto()
{
    if (!QMetaObject::invokeMethod(ggFrmAiuto.data(), "HideFrm"))
        ggFrmAiuto->hide();
}

// The window the lookup window serves (nullptr when it does not say).
QWidget *formServitaDaAiuto()
{
    return qobject_cast<QWidget *>(ggFrmAiuto->property("ofrmAttiva").value<QObject *>());
}

// A window cannot take the focus while a modal window other than itself is open.
bool daFuoco(QWidget *form)
{
    const QWidget *modale = QApplication::activeModalWidget();
    if (modale && modale != form)
        return false;
    form->raise();
    form->activateWindow();
    return true;
}

void fuocoAllaFormAttiva()
{
    if (QWidget *attiva = QApplication::activeWindow())
        attiva->activateWindow();
}

void consegnaChiavi(FormProgramma &f, const QString &keySec, const QString &keyLancia, const QString &keySecLancia,
                    const QString &paramLancia)
{
    f.osKeySec = keySec;
    f.osKeyLancia = keyLancia;
    f.osKeySecLancia = keySecLancia;
    f.osParamLancia = paramLancia;
    f.osParam = ggMenuClient->LancioCorrente().osParam;
}

// The form's number in the window state MostraForm takes: the workstation's choice when it
// made one, else the launch request's.
int16_t statoFinestra()
{
    if (Variant(gsStatoFinestra).isNumeric())
        return Variant(gsStatoFinestra).toInteger();
    return static_cast<int16_t>(leadingNumber(ggMenuClient->LancioCorrente().osTipoForm));
}

// A loaded window brought forward; the keys handed over when a launching program is named.
bool attivaCaricata(QWidget *form, const std::optional<QString> &caption, const QString &keySec,
                    const QString &keyLancia, const QString &keySecLancia, const QString &paramLancia,
                    bool &aiutoNascosto)
{
    if (form->isHidden())
        form->show();
    QWidget *attiva = QApplication::activeWindow();
    const bool eQuella = attiva && NomeForm(attiva).compare(NomeForm(form), Qt::CaseInsensitive) == 0 &&
                         (!caption || CaptionForm(attiva).contains(*caption, Qt::CaseInsensitive));
    if (eQuella && aiutoVisibile()) {
        ggFrmAiuto->activateWindow();
        return true;
    }
    if (!eQuella && !daFuoco(form)) {
        if (aiutoVisibile() && formServitaDaAiuto() != form) {
            nascondiAiuto();
            aiutoNascosto = true;
            return false; // opened again below
        }
        fuocoAllaFormAttiva();
    }
    if (!keyLancia.isEmpty()) {
        if (FormProgramma *f = formProgramma(form)) {
            try {
                consegnaChiavi(*f, keySec, keyLancia, keySecLancia, paramLancia);
                f->AttivatoDaAltri();
            } catch (...) {
            }
        }
    }
    return true;
}

} // namespace

// ---------------------------------------------------------------- the command sink

scMenuComandiClie::scMenuComandiClie()
{
    impostaOgMenuClient(std::shared_ptr<MenuClient>(creaMenuClient()));
}

scMenuComandiClie::~scMenuComandiClie() = default;

void scMenuComandiClie::impostaOgMenuClient(std::shared_ptr<MenuClient> client)
{
    if (m_client)
        m_client->disconnect(this);
    m_client = std::move(client);
    if (m_client) {
        connect(m_client.get(), &MenuClient::EseguiComando, this, &scMenuComandiClie::mgMenuClient_EseguiComando,
                Qt::DirectConnection);
        connect(m_client.get(), &MenuClient::CollegamentoPerso, this,
                [] { guarded("MenuClient::CollegamentoPerso", [] { CollegamentoMenuPerso(); }); });
    }
}

void scMenuComandiClie::mgMenuClient_EseguiComando(const QString &psIdMenu, const QString &psKeySec,
                                                   const QString &psCom, const Variant &pvParam,
                                                   Variant &pvRitComando)
{
    UltCom = psCom;
    UltParamVar = pvParam;
    if (pvParam.isArray()) {
        const VariantArray &a = pvParam.toArray();
        UltParam = a.items.empty() ? QString() : a.items.front().text();
    } else {
        UltParam = pvParam.text();
    }
    EseguiComandoPrg(psIdMenu, psKeySec, psCom, pvParam, pvRitComando);
}

// ---------------------------------------------------------------- the dispatcher

void EseguiComandoMenu(const QString &, const QString &psKeySec, const QString &psCom, const Variant &pvParam,
                       Variant &pvRitComando)
{
    pvRitComando = Variant(QString());
    const QString com = psCom.toLower();
    try {
        if (com == QLatin1String("fine")) {
            gbChiusuraDaMenu = true;
            FineProgramma();
            gbChiusuraDaMenu = false;
            if (Forms::Count() == 0)
                pvRitComando = Variant(QString());
            else
                pvRitComando = Variant(gsStatoModale.isEmpty() ? QStringLiteral("No Chiudi") : gsStatoModale);
        } else if (com == QLatin1String("esiste")) {
            pvRitComando = Variant(true);
        } else if (com == QLatin1String("ritornoa")) {
            const QString nome = pvParam.text();
            if (nome.isEmpty() || !FormCaricata(nome)) {
                try {
                    if (aiutoVisibile())
                        QMetaObject::invokeMethod(ggFrmAiuto.data(), "ButtonComando", Q_ARG(QString, QStringLiteral("Aggiorna")));
                    fuocoAllaFormAttiva();
                } catch (...) {
                }
            } else {
                ApriFormNome(nome, false, {}, {}, {}, {});
            }
        } else if (com == QLatin1String("attiva")) {
            ggMenuClient->PrepLancio(psKeySec);
            const QString nome = UtilGenerali::ValoreOpzione(ggMenuClient->LancioCorrente().osParam, QStringLiteral("F")).trimmed();
            const QString chiLancia = ggMenuClient->LancioCorrente().osChiLancia;
            const QString keySecLancia = ggMenuClient->LancioCorrente().osKeySecLancia;
            const QString paramLancia = ggMenuClient->LancioCorrente().osParamLancia;
            ApriFormNome(nome, true, psKeySec, chiLancia, keySecLancia, paramLancia);
        } else if (com == QLatin1String("preppassaa")) {
            for (QWidget *form : Forms::Elenco()) {
                try {
                    if (FormProgramma *f = formProgramma(form))
                        f->PassaA();
                } catch (...) {
                }
            }
        } else if (com == QLatin1String("passaa")) {
            const QString chiLancia = ggMenuClient->LancioCorrente().osChiLancia;
            const QString keySecLancia = ggMenuClient->LancioCorrente().osKeySecLancia;
            const QString paramLancia = ggMenuClient->LancioCorrente().osParamLancia;
            ApriFormNome(pvParam.text(), false, psKeySec, chiLancia, keySecLancia, paramLancia);
        } else if (com == QLatin1String("keyprgprim")) {
            pvRitComando = Variant(gsKeyPrgPrim);
        } else if (com == QLatin1String("keyprgsec")) {
            pvRitComando = Variant(gsKeyPrgSec);
        } else if (com == QLatin1String("paramprgclie")) {
            pvRitComando = Variant(QStringLiteral("$Default$"));
        } else if (com == QLatin1String("comandoprgclie")) {
            pvRitComando = Variant(gsComandoPrgClie);
        } else if (com == QLatin1String("feinvio") || com == QLatin1String("feattesa")) {
            const std::optional<QString> testo = com == QLatin1String("feinvio") ? testoFEInvio(pvParam) : testoFEAttesa(pvParam);
            if (testo)
                frmMsgCom::msgCom(*testo, QStringLiteral("&Ok"));
        }
    } catch (const AppError &e) {
        // What failed is told to the menu server; the command still gets its answer.
        gbChiusuraDaMenu = false;
        pvRitComando = Variant(QString());
        SegnalaErrore(e);
    } catch (...) {
        gbChiusuraDaMenu = false;
        pvRitComando = Variant(QString());
        SegnalaErrore(AppError::standard(ErrNum::InvalidCall, QStringLiteral("EseguiComandoMenu")));
    }
}

// ---------------------------------------------------------------- form activation

bool AttivaForm(const QString &nomeForm, bool primaAttivazione, const QString &keySec, const QString &keyLancia,
                const QString &keySecLancia, const QString &paramLancia, bool mostra,
                const std::optional<QString> &caption)
{
    try {
        bool aiutoNascosto = false;
        const int16_t indice = IndiceForm(nomeForm, caption);
        if (indice >= 0) {
            QWidget *form = Forms::Item(indice);
            if (attivaCaricata(form, caption, keySec, keyLancia, keySecLancia, paramLancia, aiutoNascosto))
                return true;
        }

        if (aiutoVisibile()) {
            nascondiAiuto();
            aiutoNascosto = true;
        }
        const int16_t stato = statoFinestra();
        QWidget *form = indice >= 0 ? Forms::Item(indice) : nullptr;
        if (!form) {
            std::unique_ptr<QWidget> nuovo = CreaFormProgramma(nomeForm);
            if (!formProgramma(nuovo.get()))
                throw AppError(ErrNum::ObjectRequired, QStringLiteral("La form ") + nomeForm + QStringLiteral(" non esiste"),
                               QStringLiteral("AttivaForm"));
            consegnaChiavi(*formProgramma(nuovo.get()), keySec, keyLancia, keySecLancia, paramLancia);
            form = Forms::Carica(std::move(nuovo));
            formProgramma(form)->Form_Load();
        } else if (FormProgramma *f = formProgramma(form)) {
            consegnaChiavi(*f, keySec, keyLancia, keySecLancia, paramLancia);
        }
        FormProgramma *f = formProgramma(form);
        if (f && f->oiLoadOk() == -1) {
            Forms::Scarica(form);
            RichiediChiusura(true);
            return false;
        }
        if (mostra) {
            const int32_t esito =
                UtilGenerali::NumeroErrore(UtilGenerali::MostraForm(form, primaAttivazione ? stato : int16_t{-1}, 0, false));
            if (esito < 0) {
                SegnalaErrore(QStringLiteral("Impossibile aprire il programma richiesto"), -(esito + 100));
                Forms::Scarica(form);
                return false;
            }
        }
        if (aiutoNascosto) {
            if (frmPrincipale *p = formPrincipale()) {
                p->oiFlagVarie = 1;
                p->osNomeForm = nomeForm;
                p->TimVarie->start();
            }
        }
        return true;
    } catch (const AppError &e) {
        if (e.number() == kErrFormNonVisualizzabile || e.number() == kErrOggettoNonImpostato)
            return false;
        SegnalaErrore(e);
        RichiediChiusura(false);
        return false;
    }
}

// ---------------------------------------------------------------- reports and messages

void SegnalaErrore(const QString &messaggio, int32_t numero, const QString &prima, const QString &dopo)
{
    const QString rapporto =
        prima + QStringLiteral("Errore(") + QString::number(numero) + QStringLiteral("): ") + messaggio + dopo;
    try {
        if (!ggMenuClient)
            throw erroreOggettoNonImpostato();
        ggMenuClient->InviaComando(QStringLiteral("MsgBox"), QStringLiteral("Tutti"), Variant(rapporto));
    } catch (...) {
        // the menu server is what failed: the report is shown here
        try {
            dialoghi().MsgBox(rapporto, PulsantiMsg::Ok, IconaMsg::Errore, QString());
        } catch (...) {
        }
    }
    try {
        finestraConn().Scarica();
    } catch (...) {
    }
}

void SegnalaErrore(const AppError &errore, const QString &prima, const QString &dopo)
{
    SegnalaErrore(descrizioneConOrigine(errore), UtilGenerali::NumeroErrore(errore), prima, dopo);
}

void MessaggioEChiudi(const QString &testo, PulsantiMsg pulsanti, bool chiudi)
{
    try {
        finestraConn().Scarica();
    } catch (...) {
    }
    try {
        // a window of the program behind the message
        QWidget *dietro = Forms::Count() > 2 ? Forms::Item(2) : ggFrmPrincipale.data();
        if (dietro)
            dietro->show();
        dialoghi().MsgBox(testo, pulsanti, IconaMsg::Nessuna, QString());
        if (ggFrmPrincipale)
            ggFrmPrincipale->hide();
        if (chiudi)
            RichiediChiusura(false);
    } catch (const AppError &e) {
        SegnalaErrore(testo, UtilGenerali::NumeroErrore(e));
        RichiediChiusura(false);
    }
}
