// The run driver: one synchronous call converts every order that the request selects. It reads
// the run's settings, saves the request, selects the orders, refuses to start over an
// interrupted run, locks every order, converts them one by one, closes the run's documents and
// reports.
#include "scevaordven.h"

#include "blocchi.h"
#include "bloccoordine.h"
#include "contesto.h"
#include "dialoghi.h"
#include "elaborazione.h"
#include "letteralisql.h"
#include "menuclient.h"
#include "paginaordini.h"
#include "parametri.h"
#include "presentazione.h"
#include "serviziEvasione.h"
#include "textcompare.h"

#include <utility>

using namespace sqlEva;

namespace {

const QString kProgrammaAppoggio = QStringLiteral("scEvaOrdVen");

void messaggio(const QString &testo)
{
    frmMsgCom::msgCom(testo, QStringLiteral("&Ok"));
}

// The error being handled, as the error list takes it.
struct ErroreCorrente {
    int32_t numero = 0;
    QString descrizione;
};

// Holds one run: no second run, and no end of the program, while it lasts.
class RunInCorso {
public:
    explicit RunInCorso(bool &flag) : m_flag(flag) { m_flag = true; }
    ~RunInCorso() { m_flag = false; }
    RunInCorso(const RunInCorso &) = delete;
    RunInCorso &operator=(const RunInCorso &) = delete;

private:
    bool &m_flag;
    ElaborazioneInCorso m_elaborazione;
    ParametriDelRun m_parametri;
};

} // namespace

bool scEvaOrdVen::LanciaEvasioneOrdVen(bool pbDaOrdAperto)
{
    // A message of the run lets events through; a request arriving meanwhile waits for the end.
    if (m_runInCorso)
        return false;
    RunInCorso inCorso(m_runInCorso);

    bool avanzamentoAvviato = false;
    const auto pulizia = [&]() noexcept {
        try {
            ClessidraEvasione(false);
        } catch (...) {
        }
        try {
            if (avanzamentoAvviato)
                mgAvanzElab().Termina();
        } catch (...) {
        }
        if (m_recs) {
            m_recs->Chiudi(msAliasOrd);
            m_recs->Chiudi(msAliasDocDaElab);
        }
        RilasciaRecordset();
    };
    const auto gestisciErrore = [&](const ErroreCorrente &e) {
        try {
            AccodaErroreEva(e.numero, e.descrizione);
            frmMsgCom::msgCom(msErrori, QStringLiteral("&Ok"));
        } catch (...) {
        }
        pulizia();
    };

    try {
        msFase = QStringLiteral("Evasione Ordini vendita");

        // Settings of the user.
        msDicIntentiVerif = LeggiParamPers(QStringLiteral("EvasioneOrd"), QStringLiteral("DicIntentiVerif"), Variant("V")).text();
        const QString rigDescrEva = LeggiParamPers(QStringLiteral("Ordini"), QStringLiteral("RigDescrEva"), Variant(QString())).text();
        mdDivPezziConf = UtilGenerali::ValoreNumerico(
            LeggiParamPers(QStringLiteral("Articoli"), QStringLiteral("DivPezziConf"), Variant("1")), false);
        mbStDesLunDaDoc = textEquals(
            LeggiParamPers(QStringLiteral("EvasioneOrd"), QStringLiteral("StDesLunDaDoc"), Variant("N")).text(), u"S");
        mbRigDescrEva = false;
        if (!rigDescrEva.isEmpty()) {
            mbRigDescrEva = true;
            const Variant parti = UtilGenerali::Dividi(rigDescrEva, QStringLiteral(";"));
            const auto &voci = parti.toArray().items;
            if (voci.size() < 3) {
                messaggio(QStringLiteral("Errore nei parametri di personalizzazione Ordini,RigDescrEva: pochi parametri"));
                return false;
            }
            for (size_t i = 0; i < 3; ++i)
                msRigDescrEva[i + 1] = voci[i].text();
        }
        mbDaOrdAperto = pbDaOrdAperto;

        const QString utente = ggMenuClient->NomeUtente();
        // Documents left by an interrupted run of this user, program and year block the run. Checked
        // before anything is touched: the saved request of that run is what its recovery reads, and
        // the refusal must come even when no order of this request is left.
        msFase = QStringLiteral("Evasione Ord: Controllo elaborazioni in corso");
        GestRecordset &rs = mgRecs();
        msAliasOrd = QStringLiteral("EvaOrdTestate");
        msAliasDocDaElab = QStringLiteral("EvaOrdDocDaElab");
        rs.Apri(*ggDbAzienda, gsNomeConn, msAliasDocDaElab,
                QStringLiteral("Select * from DocDaElab") + QStringLiteral(" Where Utente = ") + T(utente)
                    + QStringLiteral(" AND Programma = ") + T(gsProgramma + gsProgrammaPar)
                    + QStringLiteral(" AND Anno = ") + I(Variant(oiAnno)),
                false, dbOpenDynaset);
        if (!rs.NessunRecord(msAliasDocDaElab)) {
            messaggio(QStringLiteral("(DocDaElab) Risultano delle elaborazioni interrotte. Lanciare il programma di ripristino."));
            pulizia();
            return false;
        }

        servizi().CancellaAppoggioTemp(*this, utente, kProgrammaAppoggio);
        if (!LeggiComuniOK(false)) {
            pulizia();
            return false;
        }
        QString nonUsato;
        LetCtrFatDocOrdErr(nonUsato);
        avanzamentoAvviato = true;

        // The orders of the request (in manual mode the orders picked): their keys now, the orders
        // themselves page by page as they are converted.
        msFase = QStringLiteral("Evasione Ordini vendita: Selezione Ordini vendita");
        const std::vector<ChiaveOrdine> ordini = ChiaviOrdini();
        if (ordini.empty()) {
            messaggio(QStringLiteral("Non ci sono Ordini vendita nell'intervallo"));
            pulizia();
            return false;
        }
        mlOrdiniSelezionati = static_cast<int32_t>(ordini.size());
        mgAvanzElab().ImpostaMassimo(mlOrdiniSelezionati * 3 + 1);
        mlContaAvanz = 1;

        bool esci = false;
        BloccaOrdini(ordini, esci);

        mgAvanzElab().Messaggio(QStringLiteral("Elaborazione Ordini"));
        if (!esci)
            ConvertiOrdini(ordini, esci);

        FineEvasione(esci);
        frmMsgCom::msgCom(QStringLiteral("Elaborazione terminata"), QStringLiteral("&Ok"), {}, {}, {}, 80, giSuonoAvviso != 0,
                          600, Variant(static_cast<int16_t>(24)));
        pulizia();
        return !esci;
    } catch (const AppError &e) {
        gestisciErrore({e.number(), e.description()});
    } catch (const std::exception &e) {
        gestisciErrore({0, QString::fromLocal8Bit(e.what())});
    }
    return false;
}

std::vector<ChiaveOrdine> scEvaOrdVen::ChiaviOrdini()
{
    std::vector<ChiaveOrdine> chiavi;
    GestRecordset letture;
    PagineOrdini pagine(letture, QStringLiteral("EvaOrdChiavi"), QStringLiteral("OrdVenTest.Anno, OrdVenTest.NumRif"),
                        DaSelOrd(obEvasManule, 0, 0), mlRighePagina);
    while (pagine.Prossima())
        for (; !letture.Eof(QStringLiteral("EvaOrdChiavi")); letture.MoveNext(QStringLiteral("EvaOrdChiavi")))
            chiavi.push_back(pagine.Chiave());
    chiavi.shrink_to_fit();
    return chiavi;
}

void scEvaOrdVen::ConvertiOrdini(const std::vector<ChiaveOrdine> &pOrdini, bool &pbEsci)
{
    GestRecordset &rs = mgRecs();
    // The orders locked, in their order: one that has left the selection since is not converted,
    // nor one that came into it after the locks.
    auto prossimo = pOrdini.begin();
    PagineOrdini pagine(rs, msAliasOrd, CampiSelOrd(), DaSelOrd(obEvasManule, 0, 0), mlRighePagina);
    while (!pbEsci && prossimo != pOrdini.end() && pagine.Prossima()) {
        for (; !pbEsci && prossimo != pOrdini.end() && !rs.Eof(msAliasOrd); rs.MoveNext(msAliasOrd)) {
            const ChiaveOrdine chiave = pagine.Chiave();
            while (prossimo != pOrdini.end() && *prossimo < chiave)
                ++prossimo;
            if (prossimo == pOrdini.end() || *prossimo != chiave)
                continue;
            ++prossimo;
            ++mlContaAvanz;
            mgAvanzElab().Avanza(Variant(mlContaAvanz));
            EvadeOrdine(pbEsci);
        }
    }
}

void scEvaOrdVen::BloccaOrdini(const std::vector<ChiaveOrdine> &pOrdini, bool &pbEsci)
{
    msFase = QStringLiteral("Evasione Ordini vendita: Lock testate Ordini vendita");
    mgAvanzElab().Messaggio(QStringLiteral("Lock testate Ordini vendita"));
    mgAvanzElab().Avanza(Variant(mlContaAvanz));

    QString chiave;
    size_t ferma = 0;
    for (; ferma < pOrdini.size(); ++ferma) {
        ++mlContaAvanz;
        mgAvanzElab().Avanza(Variant(mlContaAvanz));
        const int16_t anno = pOrdini[ferma].anno;
        const int32_t numero = pOrdini[ferma].numRif;
        const QString ordine = QString::number(numero) + QStringLiteral(" anno ") + QString::number(anno);

        bool preso = false;
        if (!obEvasManule) {
            for (;;) {
                QString utenteLock;
                const int16_t esito = BloccaOrdine(anno, numero, false, chiave, QStringLiteral("Il Ord"), utenteLock);
                if (esito == EsitoBlocco::InUso || esito == EsitoBlocco::Conteso) {
                    if (RiprovaBlocco(QStringLiteral("Ordini vendita n.rif ") + ordine + QStringLiteral(" in uso da ")
                                      + utenteLock))
                        continue;
                    pbEsci = true;
                } else if (esito == EsitoBlocco::Errore) {
                    const ErroreBlocco &e = UltimoErroreBlocco();
                    AccodaErroreEva(e.numero, QStringLiteral("Ordini vendita n.rif ") + ordine
                                                  + QStringLiteral(" errore nel loccaggio della testata fattura: ") + e.descrizione);
                    pbEsci = true;
                } else {
                    preso = true;
                }
                break;
            }
        }
        // The lock row stays; the key keeps its alias for the next order.
        ggRecLock().Chiudi(chiave);
        // The state as it is now: another user may have fulfilled the order since the selection.
        if (!pbEsci && StatoOrdineAttuale(anno, numero).compare(QLatin1String("E"), Qt::CaseInsensitive) == 0) {
            messaggio(QStringLiteral("Ord n.rif ") + ordine + QStringLiteral(" Gi\u00e0 evaso. "));
            pbEsci = true;
            // The stopping order's own lock was taken before the stop.
            if (preso)
                ++ferma;
        }
        if (pbEsci)
            break;
    }
    if (pbEsci)
        SbloccaOrdini(chiave, pOrdini, ferma);
}

void scEvaOrdVen::SbloccaOrdini(QString &psChiave, const std::vector<ChiaveOrdine> &pOrdini, size_t plFinoA)
{
    msFase = QStringLiteral("Evasione Ordini vendita: Sblocco testate Ordini vendita dopo un errore in Lock");
    const QString utente = ggMenuClient->NomeUtente();
    for (size_t i = 0; i < plFinoA && i < pOrdini.size(); ++i) {
        const int16_t anno = pOrdini[i].anno;
        const int32_t numero = pOrdini[i].numRif;
        QString utenteLock;
        const int16_t esito = BloccaOrdine(anno, numero, true, psChiave, QStringLiteral("Il Ord"), utenteLock);
        if (esito == EsitoBlocco::Assente)
            continue;
        if (esito != EsitoBlocco::Preso || !textEquals(utenteLock, utente)) {
            const ErroreBlocco &e = UltimoErroreBlocco();
            AccodaErroreEva(e.numero, QStringLiteral("Errore nella riapertura del recordset di lock, Ordine n.rif ")
                                          + QString::number(numero) + QStringLiteral(" anno ") + QString::number(anno)
                                          + QStringLiteral(" in uso da ") + utenteLock + QStringLiteral(" : ") + e.descrizione);
            if (esito != EsitoBlocco::Preso)
                ggRecLock().Chiudi(psChiave);
            continue;
        }
        try {
            SbloccaRecord(psChiave, true);
        } catch (const AppError &e) {
            // That lock stays; the walk goes on releasing the others.
            AccodaErroreEva(e.number(), QStringLiteral("Ordine n.rif ") + QString::number(numero) + QStringLiteral(" anno ")
                                            + QString::number(anno) + QStringLiteral(": ") + e.description());
        }
    }
    ggRecLock().Chiudi(psChiave);
}

QString scEvaOrdVen::StatoOrdineAttuale(int16_t piAnno, int32_t plNumRif)
{
    GestRecordset letto;
    const QString alias = letto.Apri(*ggDbAzienda, gsNomeConn, {},
                                     QStringLiteral("Select OrdVenTest.Stato from OrdVenTest Where OrdVenTest.Anno = ")
                                         + I(Variant(piAnno)) + QStringLiteral(" AND OrdVenTest.NumRif = ")
                                         + L(Variant(plNumRif)));
    return letto.LeggiCampo(alias, u"Stato").text();
}
