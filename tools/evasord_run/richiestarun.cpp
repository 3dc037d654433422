#include "richiestarun.h"

#include "cambirichiesta.h"
#include "connessionedb.h"
#include "contesto.h"
#include "controllidocumento.h"
#include "decodcodice.h"
#include "gestrecordset.h"
#include "parametri.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

QString margine(const QString &flag) { return flag.trimmed().isEmpty() ? QStringLiteral("N") : flag; }

// The fields asked of a code of the given kind; empty texts when the code is not found.
Variant decodifica(const QString &tipo, const QString &codice, std::initializer_list<const char *> nomi)
{
    Variant campi = ListaCampi(nomi);
    QString descrizione;
    DecodCodice(tipo, Variant(codice), descrizione, std::nullopt, 0, 8, QString(), 0, &campi);
    return campi;
}

// The grouping rule asked for, given to every order the request selects.
void raggruppa(scEvaOrdVen &eva, const QString &regola)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, eva.PrepSqlSelOrd(false, 0, 0));
    for (; !rs.Eof(a); rs.MoveNext(a)) {
        ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Update OrdVenTest Set RagOrd = ")
                                            + UtilGenerali::SqlValore(Variant(regola), 8)
                                            + QStringLiteral(" Where Anno = ")
                                            + UtilGenerali::SqlValore(rs.LeggiCampo(a, u"OrdVenTest.Anno"), 2)
                                            + QStringLiteral(" And NumRif = ")
                                            + UtilGenerali::SqlValore(rs.LeggiCampo(a, u"OrdVenTest.NumRif"), 3));
    }
    rs.Chiudi(a);
}

} // namespace

std::optional<QString> PreparaRichiesta(const RichiestaRun &r, scEvaOrdVen &eva)
{
    const Variant data(r.dataEvasione.value_or(gtDataLavoro));
    eva.otDataEvasione = data.toDate();
    int16_t annoEsercizio = 0;
    QString messaggio;
    switch (ControllaDataEsercizio(data, annoEsercizio, messaggio).toInteger()) {
    case 3:
        return QStringLiteral("Data evasione di un esercizio errato (O errore nel controllo data esercizio)");
    case 4:
        return QStringLiteral("Data evasione precedente all'esercizio");
    case 5:
        return QStringLiteral("Data evasione successiva all'esercizio");
    default:
        break;
    }
    if (eva.otDataEvasione > gtDataLavoro)
        return QStringLiteral("La data evasione non può essere sucessiva a ")
               + UtilGenerali::FormattaValore(Variant(gtDataLavoro), QStringLiteral("dd/mm/yyyy"));
    eva.oiAnno = static_cast<int16_t>(eva.otDataEvasione.year());
    struct Intervallo {
        Variant da, a;
        int16_t tipo;
        const char *messaggio;
    };
    const Intervallo intervalli[] = {
        {Variant(r.clienteDa), Variant(r.clienteA), 8, "Si prega di inserire i codici cliente in ordine crescente"},
        {r.consegnaDa, r.consegnaA, 7, "Si prega di inserire le date di consegna in ordine crescente"},
        {r.numeroDa > 0 ? Variant(r.numeroDa) : Variant(), r.numeroA > 0 ? Variant(r.numeroA) : Variant(), 3,
         "Si prega di inserire i numeri di inserimento in ordine crescente"},
    };
    for (const Intervallo &i : intervalli) {
        if (UtilGenerali::ConfrontaIntervallo(i.da, i.a, i.tipo) == 1)
            return QString::fromUtf8(i.messaggio);
    }

    eva.osFattDocOrd = r.tipoOrdine.value_or(LeggiParamMenu(QStringLiteral("Fat.DocOrd")).text());
    const Variant ordine = decodifica(QStringLiteral("FattDocumento"), eva.osFattDocOrd, {"FattDocEvasione", "RegimeMargine"});
    eva.osRegimeMargine = margine(ValoreInLista(ordine, 1));
    eva.obEvACorrisp = r.corrispettivo;
    eva.osTipoDocEva = r.corrispettivo ? QString() : r.tipoEvasione.value_or(ValoreInLista(ordine, 0));
    if (eva.osFattDocOrd.isEmpty() || (eva.osTipoDocEva.isEmpty() && !r.corrispettivo))
        return QStringLiteral("Vanno specificati i due tipi di documento (da evadere e d'evasione)");

    const Variant evasione = decodifica(QStringLiteral("FattDocumento"), eva.osTipoDocEva,
                                        {"PrefRegIva", "Tipo", "PrefBolle", "RegimeMargine", "Causale"});
    const QString tipo = ValoreInLista(evasione, 1);
    if (!r.corrispettivo && !textEquals(margine(ValoreInLista(evasione, 3)), eva.osRegimeMargine))
        return QStringLiteral("Tipi documento con diversa gestione del regime del margine");
    eva.oiSplitPay = 0;
    QString prefisso;
    if (textEquals(tipo, u"B")) {
        prefisso = ValoreInLista(evasione, 2);
        if (prefisso.isEmpty())
            prefisso = LeggiParamMenu(QStringLiteral("Fat.PrefDdt")).text();
    } else if (textEquals(tipo, u"F")) {
        prefisso = ValoreInLista(evasione, 0);
        if (prefisso.isEmpty())
            prefisso = LeggiParamMenu(QStringLiteral("Ditta.RegIvaVen")).text();
        const Variant causale = decodifica(QStringLiteral("Causale"), ValoreInLista(evasione, 4), {"SplitPay"});
        eva.oiSplitPay = textEquals(ValoreInLista(causale, 0), u"S") ? 2 : 1;
    }
    eva.osPrefDoc = r.prefisso.value_or(prefisso);
    // A prefix given must be one of the company's, as the dialog colours a wrong one.
    if (r.prefisso) {
        QString dato = *r.prefisso;
        const bool valido = textEquals(tipo, u"B") ? PrefDdtValido(dato, false)
                            : textEquals(tipo, u"F") ? RegIvaVenValido(dato, true)
                                                     : true;
        if (!valido)
            return QStringLiteral("Prefisso errato: ") + *r.prefisso;
    }

    eva.obEvasManule = false;
    eva.obSoloASaldo = r.soloASaldo;
    eva.osCliDa = r.clienteDa;
    eva.osCliA = r.clienteA;
    eva.olNumRifDa = r.numeroDa;
    eva.olNumRifA = r.numeroA;
    eva.ovDataConsDa = r.consegnaDa;
    eva.ovDataConsA = r.consegnaA;
    eva.oiPerIvaMese = r.meseIva;
    eva.oiPerIvaAnno = r.annoIva;
    eva.ovDataRifDa = eva.ovDataDocDa = eva.ovDataDocA = Variant::null();
    // the dialog fills the registration date's upper end with the fulfilment date
    eva.ovDataRifA = Variant(eva.otDataEvasione);

    QString errore;
    if (eva.LetCtrFatDocOrdErr(errore))
        return errore;

    if (!r.raggruppa.isEmpty())
        raggruppa(eva, r.raggruppa);

    CaricaCambiRichiesta(eva);
    for (auto it = r.cambi.cbegin(); it != r.cambi.cend(); ++it)
        eva.ogCambi().setValore(it.key(), true, it.value());
    for (const ElementoVettore &e : eva.ogCambi().Elementi()) {
        if (e.Valore == 0)
            return QStringLiteral("Manca il cambio della moneta ") + e.Chiave;
    }
    return std::nullopt;
}
