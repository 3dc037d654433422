// OK of the fulfilment dialog: the request checked in a fixed order (the first failing check
// stops it with its message), copied into the engine, the document types checked by the
// engine, then the automatic run or the hand-over to the manual picking. Nothing is written to
// the database here; an error is shown and leaves the dialog as it was.
#include "frmevasord.h"

#include "colori.h"
#include "contesto.h"
#include "controllidocumento.h"
#include "dialoghi.h"
#include "evasionemanuale.h"
#include "parametri.h"
#include "puntatore.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// A refusal: the message under a single "&Ok".
void rifiuta(const QString &testo)
{
    frmMsgCom::msgCom(testo, QStringLiteral("&Ok"));
}

Variant testo(const QLineEdit *campo) { return Variant(campo->text()); }

Variant dataCampo(const QLineEdit *campo) { return UtilGenerali::ValoreData(testo(campo), true); }

// Whether the date field holds a date after the limit (an empty or unreadable one never does).
bool dopo(const QLineEdit *campo, const Date &limite)
{
    const Variant d = dataCampo(campo);
    return d.isDate() && d.toDate() > limite;
}

} // namespace

void frmEvasOrd::ComOk_Click()
{
    if (m_okInCorso)
        return;
    m_okInCorso = true;
    try {
        // OK pressed by its key leaves no field: the field being edited is checked first
        if (const std::optional<int> campo = campoInModifica())
            txt_LostFocus(*campo);
        richiestaOk();
    } catch (const AppError &e) {
        Clessidra(false);
        try {
            frmMsgCom::MsgErrfrm(e);
        } catch (...) {
        }
    }
    m_okInCorso = false;
}

void frmEvasOrd::richiestaOk()
{
    // The picking form works on the engine's request until it is closed: a new request would
    // change what its "Prosegui" runs.
    if (EvasioneManualeAperta()) {
        rifiuta(QStringLiteral("La selezione ordini da evadere è ancora aperta: concluderla o chiuderla prima di "
                               "una nuova richiesta."));
        return;
    }
    if (!controllaRichiesta())
        return;
    copiaNelMotore();
    QString errore;
    if (mgEvaOrd->LetCtrFatDocOrdErr(errore)) {
        rifiuta(errore);
        return;
    }
    mgEvaOrd->oiSplitPay = miSplitPay;
    consegnaRichiesta();
}

scEvaOrdVen &frmEvasOrd::motoreCreato()
{
    if (!mgEvaOrd)
        mgEvaOrd = std::make_shared<scEvaOrdVen>();
    return *mgEvaOrd;
}

bool frmEvasOrd::controllaRichiesta()
{
    if (!textEquals(msRegMargOrd, msRegMargEva)) {
        rifiuta(QStringLiteral("Tipi documento con diversa gestione del regime del margine"));
        return false;
    }

    scEvaOrdVen &eva = motoreCreato();
    const Variant dataEvasione = dataCampo(txt[10]);
    eva.otDataEvasione = dataEvasione.isDate() ? dataEvasione.toDate() : Date();
    if (UtilGenerali::Vuoto(testo(txt[10]), 7, 1, false)) {
        rifiuta(QStringLiteral("La data evasione è obbligatoria"));
        return false;
    }

    int16_t annoEsercizio = 0;
    QString messaggioEsercizio;
    switch (ControllaDataEsercizio(dataEvasione, annoEsercizio, messaggioEsercizio).toInteger()) {
    case 3:
        rifiuta(QStringLiteral("Data evasione di un esercizio errato (O errore nel controllo data esercizio)"));
        return false;
    case 4:
        rifiuta(QStringLiteral("Data evasione precedente all'esercizio"));
        return false;
    case 5:
        rifiuta(QStringLiteral("Data evasione successiva all'esercizio"));
        return false;
    default:
        break;
    }
    eva.oiAnno = static_cast<int16_t>(eva.otDataEvasione.year());

    const bool tipoOrdine = !UtilGenerali::Vuoto(testo(txt[20]), 8);
    const bool tipoEvasione = !UtilGenerali::Vuoto(testo(txt[30]), 8);
    const bool corrispettivo = CheCorrispettivo->isChecked();
    if (!tipoOrdine) {
        rifiuta(QStringLiteral("Vanno specificati i due tipi di documento (da evadere e d'evasione) \r\n"
                               "oppure, per l'evasione con corrispettivo, è obbligatorio il tipo documento da evadere."));
        return false;
    }
    if (tipoEvasione && corrispettivo) {
        rifiuta(QStringLiteral("Per evadere con corrispettivo è necessario sbiancare il Doc. di evasione"));
        return false;
    }
    if (!tipoEvasione && !corrispettivo) {
        rifiuta(QStringLiteral("E' possibile avere il Doc. di evasione sbiancato solo con l'evasione con corrispettivo"));
        return false;
    }

    if (corrispettivo && msCausaleRientro.isEmpty()
        && textEquals(LeggiParamMenu(QStringLiteral("Ditta.InstMaga")).text(), u"S")) {
        const int risposta = frmMsgCom::msgCom(
            QStringLiteral("Attenzione questa evasione non farà lo scarico degli articoli di magazzino.\r\nVuoi Continuare?"),
            QStringLiteral("&Si"), Variant(QStringLiteral("&No")), Variant(), Variant(QString()));
        if (risposta == 2)
            return false;
    }

    if (eva.otDataEvasione > gtDataLavoro) {
        rifiuta(QStringLiteral("La data evasione non può essere sucessiva a ")
                + UtilGenerali::FormattaValore(Variant(gtDataLavoro), QStringLiteral("dd/mm/yyyy")));
        return false;
    }

    if (UtilGenerali::Vuoto(testo(txt[70]), 7, 1, false))
        txt[70]->setText(txt[10]->text());

    struct Intervallo {
        int da, a;
        int16_t tipo;
        const char *messaggio;
    };
    const auto intervalloErrato = [this](const Intervallo &i) {
        if (UtilGenerali::ConfrontaIntervallo(testo(txt[i.da]), testo(txt[i.a]), i.tipo) != 1)
            return false;
        rifiuta(QString::fromUtf8(i.messaggio));
        return true;
    };
    const auto documentoDopoEvasione = [&](int da, int a) {
        if (!dopo(txt[da], eva.otDataEvasione) && !dopo(txt[a], eva.otDataEvasione))
            return false;
        rifiuta(QStringLiteral("Non si possono evadere Ordini con data documento successiva alla data evasione"));
        return true;
    };
    if (intervalloErrato({40, 50, 8, "Si prega di inserire i codici cliente in ordine crescente"})
        || documentoDopoEvasione(60, 70)
        || intervalloErrato({200, 210, 8, "Si prega di inserire i codici articolo in ordine crescente"})
        || intervalloErrato({220, 230, 7, "Si prega di inserire le date di consegna in ordine crescente"})
        || intervalloErrato({60, 70, 7, "Si prega di inserire le date di inserimento in ordine crescente"})
        || intervalloErrato({80, 90, 3, "Si prega di inserire i numeri di inserimento in ordine crescente"})
        || documentoDopoEvasione(100, 110)
        || intervalloErrato({100, 110, 7, "Si prega di inserire le date ordini in ordine crescente"})
        || intervalloErrato({130, 150, 3, "Si prega di inserire i numeri documento in ordine crescente"}))
        return false;

    QString nome;
    int16_t indice = -1;
    if (UtilGenerali::CercaCampoColore(this, glColErrore, nome, indice)) {
        if (textEquals(nome, u"txt") && indice > -1 && txt.count(indice))
            txt[indice]->setFocus(Qt::OtherFocusReason);
        frmMsgCom::msgCom(QStringLiteral("Data Errata o Campo Errato"), QStringLiteral("&Ok"), Variant(), Variant(),
                          Variant(), 80, giSuonoAvviso != 0, 600, Variant(int16_t{12}));
        return false;
    }
    return true;
}

void frmEvasOrd::copiaNelMotore()
{
    scEvaOrdVen &eva = *mgEvaOrd;
    eva.obEvasManule = OptTipoEva[1]->isChecked();
    eva.osFattDocOrd = txt[20]->text();
    eva.osTipoDocEva = txt[30]->text();
    eva.obEvACorrisp = CheCorrispettivo->isChecked();
    eva.osCliDa = txt[40]->text();
    eva.osCliA = txt[50]->text();
    eva.osArticoloDa = txt[200]->text();
    eva.osArticoloA = txt[210]->text();
    eva.ovDataConsDa = dataCampo(txt[220]);
    eva.ovDataConsA = dataCampo(txt[230]);
    eva.ovDataRifDa = dataCampo(txt[60]);
    eva.ovDataRifA = dataCampo(txt[70]);
    eva.olNumRifDa = UtilGenerali::ValoreLong(testo(txt[80]), false);
    eva.olNumRifA = UtilGenerali::ValoreLong(testo(txt[90]), false);
    eva.ovDataDocDa = dataCampo(txt[100]);
    eva.ovDataDocA = dataCampo(txt[110]);
    eva.olNumDocDa = UtilGenerali::ValoreLong(testo(txt[130]), false);
    eva.olNumDocA = UtilGenerali::ValoreLong(testo(txt[150]), false);
    eva.oiPerIvaMese = UtilGenerali::ValoreNonNullo(testo(txt[170]), false, true).toInteger();
    eva.oiPerIvaAnno = UtilGenerali::ValoreNonNullo(testo(txt[180]), false, true).toInteger();
    eva.osInDesc = txt[240]->text();
    eva.osPrefDoc = txt[160]->text();
    eva.osMoneta = txt[190]->text();
    eva.osRegimeMargine = msRegMargOrd;
}

void frmEvasOrd::consegnaRichiesta()
{
    scEvaOrdVen &eva = *mgEvaOrd;
    if (eva.obEvasManule) {
        FormEvasioneManuale &manuale = frmEvaManu();
        manuale.osKeySec = osKeySec;
        manuale.ogEvaOrd = mgEvaOrd;
        Clessidra(true);
        manuale.EvasioneManuale();
        Clessidra(false);
        return;
    }
    eva.obSoloASaldo = false;
    if (!ChiediCambiMonete())
        return;
    eva.LanciaEvasioneOrdVen(false);
    Clessidra(false);
}
