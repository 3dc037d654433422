// The run's common set-up (error list, saved request, target tables, progress display, menu
// settings) and the check of the order type's stock causals.
#include "scevaordven.h"

#include "decodcodice.h"
#include "menuclient.h"
#include "contesto.h"
#include "dialoghi.h"
#include "parametri.h"
#include "presentazione.h"
#include "serviziEvasione.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

QString parametroMenu(const QString &nome) { return LeggiParamMenu(nome).text(); }

} // namespace

bool scEvaOrdVen::LeggiComuniOK(bool pbRipri, const Variant &pvTerminaleMenu)
{
    msErrori.clear();
    miNumErrori = 0;
    // What a previous run came to know of documents and types is read again.
    mUltimeRighe.clear();
    mNoteTipoDocumento = {};
    mRigheOrdineTenute = {};
    mOrdineSenzaSpese = {};

    if (pbRipri) {
        const QString utente = pvTerminaleMenu.isEmpty() ? ggMenuClient->NomeUtente() : pvTerminaleMenu.text();
        if (servizi().ImportaAppoggioTemp(*this, utente) >= 1)
            return false;
    } else if (servizi().CreaAppoggioTemp(*this) >= 1) {
        return false;
    }

    msGesTaglie = textEquals(parametroMenu(QStringLiteral("Mag.GesTaglie")), u"S") ? QStringLiteral("S") : QStringLiteral("N");

    // The target type; a cash sale has none, and a code not found leaves every field empty.
    Variant campi = ListaCampi({"Tipo", "MagCausaleRientro", "FattAccomp", "FattDocEvasione", "PrezzoDDT", "DoveStampoDesLung"});
    QString descrizione;
    DecodCodice(QStringLiteral("FattDocumento"), Variant(osTipoDocEva), descrizione, std::nullopt, 0, 8, QString(), 0, &campi);
    osDocEvaTipo = ValoreInLista(campi, 0);
    msFattAccomp = ValoreInLista(campi, 2);
    msFattDocEvasione = ValoreInLista(campi, 3);
    msPrezzoDDT = ValoreInLista(campi, 4);
    osDoveDesLunga = ValoreInLista(campi, 5);

    if (!textEquals(osDocEvaTipo, u"F")) {
        msTabTesta = QStringLiteral("DdtTest");
        msTabDett = QStringLiteral("DdtDett");
        msTabLiv = QStringLiteral("DdtLiv");
        msTabSpese = QStringLiteral("DdtSpese");
        msTipoLockTes = QStringLiteral("D");
    } else {
        if (parametroMenu(QStringLiteral("Ditta.RegIvaVen")).isEmpty()) {
            frmMsgCom::msgCom(QStringLiteral("Manca nella tabella ditta il prefisso iva vendite"), QStringLiteral("&Ok"));
            return false;
        }
        msTabTesta = QStringLiteral("FatTest");
        msTabDett = QStringLiteral("FatDett");
        msTabLiv = QStringLiteral("FatLiv");
        msTabSpese = QStringLiteral("FatSpese");
        msTipoLockTes = QStringLiteral("F");
    }

    AvanzamentoElab &avanzamento = mgAvanzElab();
    avanzamento.ImpostaForm(FinestraAvanzamentoEvasione());
    avanzamento.Avvia(0, QStringLiteral(" Evasione Ordini vendita"), 0, true, true, Variant(static_cast<int16_t>(24)),
                      QStringLiteral(" Evasione Ordini vendita"), 2, true);
    ClessidraEvasione(true);
    avanzamento.ImpostaMassimo(0, true, Variant(static_cast<int16_t>(16)));
    avanzamento.Avanza(Variant(static_cast<int32_t>(0)), Variant(QStringLiteral("Evasione Ordini vendita in corso")), true);

    msComeEva = parametroMenu(QStringLiteral("Fat.ComeEva"));
    if (!textEquals(msComeEva, u"N")) {
        for (int i = 1; i <= 4; ++i) {
            msDescLibTest[static_cast<size_t>(i)] = parametroMenu(QStringLiteral("Fat.DescLibTest") + QString::number(i));
            msRigaDaEva[static_cast<size_t>(i)] = parametroMenu(QStringLiteral("Fat.RigaDaEva") + QString::number(i));
        }
    }
    return true;
}

bool scEvaOrdVen::LetCtrFatDocOrdErr(QString &psErrore)
{
    QString causale;
    msCarScar.clear();
    msDestCorr.clear();
    msGruppoCliCorr.clear();
    msMastroCliCorr.clear();
    msContoCliCorr.clear();
    msCausaleDiBa.clear();
    msScaricoComp.clear();

    // Decodes the code into the fields asked; a code not found or not read is a failure whose
    // reason names the reference (a feminine one: "la causale").
    const auto manca = [&](const QString &tipo, const QString &codice, Variant &campi, const QString &rif, bool femminile) {
        QString descrizione;
        const int16_t esito =
            DecodCodice(tipo, Variant(codice), descrizione, std::nullopt, 0, 8, QString(), 0, &campi).toInteger();
        if (esito == -1)
            psErrore = rif + (femminile ? QStringLiteral(" non trovata") : QStringLiteral(" non trovato"));
        else if (esito == 1)
            psErrore = (femminile ? QStringLiteral("Errore nella lettura della ") : QStringLiteral("Errore nella lettura del ")) + rif;
        return esito == -1 || esito == 1;
    };

    const QString tipo = QStringLiteral("tipo documento ") + osFattDocOrd;
    Variant campi = ListaCampi({"MagCausale", "MagCausaleRientro"});
    if (manca(QStringLiteral("FattDocumento"), osFattDocOrd, campi, tipo, false))
        return true;
    causale = ValoreInLista(campi, 0);
    msCausaleCorr = ValoreInLista(campi, 1);

    if (!causale.isEmpty()) {
        campi = ListaCampi({"CarScar", "MagCausaleDiBa"});
        if (manca(QStringLiteral("MagCausale"), causale, campi, QStringLiteral("causale di magazzino ") + causale, true))
            return true;
        msCarScar = ValoreInLista(campi, 0);
        msCausaleDiBa = ValoreInLista(campi, 1);
        if (!msCausaleDiBa.isEmpty()) {
            QString nonUsato;
            campi = ListaCampi({"MagScaricoComp"});
            const int16_t esito = DecodCodice(QStringLiteral("MagCausale"), Variant(msCausaleDiBa), nonUsato, std::nullopt, 0,
                                              8, QString(), 0, &campi)
                                      .toInteger();
            if (esito != -1 && esito != 1)
                msScaricoComp = ValoreInLista(campi, 0);
        }
    }

    if (obEvACorrisp) {
        if (msCausaleCorr.isEmpty()) {
            psErrore = QStringLiteral("Nel ") + tipo + QStringLiteral(" manca la causale di magazzino per evasione a corrispettivo");
            return true;
        }
        campi = ListaCampi({"Dest"});
        if (manca(QStringLiteral("MagCausale"), msCausaleCorr, campi,
                  QStringLiteral("causale di magazzino per evasione a corrispettivo ") + msCausaleCorr, true))
            return true;
        msDestCorr = ValoreInLista(campi, 0);
        if (textEquals(msDestCorr, u"C")) {
            msGruppoCliCorr = parametroMenu(QStringLiteral("CauCon.GruppoCliCorr"));
            msMastroCliCorr = parametroMenu(QStringLiteral("CauCon.MastroCliCorr"));
            msContoCliCorr = parametroMenu(QStringLiteral("CauCon.ContoCliCorr"));
            if (msContoCliCorr.isEmpty()) {
                psErrore = QStringLiteral("Manca nei parametri iniziali (Conti comuni) il codice cliente per corrispettivo");
                return true;
            }
        }
    }

    // The target type must be one the dialog offers: a delivery-note or invoice type. Any
    // other code would give documents of a type that does not exist.
    if (!obEvACorrisp && !osTipoDocEva.trimmed().isEmpty()) {
        QString descrizione;
        const int16_t esito = DecodCodice(QStringLiteral("FattDocumento"), Variant(osTipoDocEva), descrizione, std::nullopt,
                                          0, 8, QString(), 0, nullptr, FiltroTipoEvasione())
                                  .toInteger();
        if (esito == -1 || esito == 1) {
            const QString rif = QStringLiteral("tipo documento di evasione ") + osTipoDocEva;
            psErrore = esito == -1 ? rif + QStringLiteral(" non trovato") : QStringLiteral("Errore nella lettura del ") + rif;
            return true;
        }
    }
    return false;
}

QString FiltroTipoEvasione()
{
    return QStringLiteral("(tipo=") + UtilGenerali::SqlValore(Variant(QStringLiteral("B")), 8) + QStringLiteral(" or tipo=")
           + UtilGenerali::SqlValore(Variant(QStringLiteral("F")), 8) + QStringLiteral(") and Segno = '+' and")
           + CondizioneFlagNonS(QStringLiteral("Interno"));
}
