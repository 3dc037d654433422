#include "recupero.h"

#include "blocchi.h"
#include "connessionedb.h"
#include "contesto.h"
#include "dialoghi.h"
#include "dialoghirun.h"
#include "gestrecordset.h"
#include "menuclient.h"
#include "scevaordven.h"
#include "serviziEvasione.h"
#include "testatamovimento.h"
#include "transazioni.h"
#include "utilgenerali.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

QString T(const QString &testo) { return UtilGenerali::SqlValore(Variant(testo), 8); }
QString N(int64_t numero) { return QString::number(numero); }

struct Chiave {
    int16_t anno = 0;
    int32_t numero = 0;
};

std::vector<Chiave> chiavi(const QString &sql)
{
    std::vector<Chiave> out;
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, sql);
    for (; !rs.Eof(a); rs.MoveNext(a))
        out.push_back({rs.Recordset(a).Valore(rs.AbsolutePosition(a), 0).toInteger(),
                       rs.Recordset(a).Valore(rs.AbsolutePosition(a), 1).toLong()});
    rs.Chiudi(a);
    return out;
}

bool esiste(const QString &sql) { return !chiavi(sql).empty(); }

// The documents the interrupted run registered and did not close.
QString documentiDellaRun(const scEvaOrdVen &eva)
{
    return QStringLiteral("Select Anno, NumReg from DocDaElab Where Utente = ") + T(ggMenuClient->NomeUtente())
           + QStringLiteral(" AND Programma = ") + T(gsProgramma + gsProgrammaPar) + QStringLiteral(" AND Anno = ")
           + N(eva.oiAnno);
}

// The run's document that holds lines of the order; 0 when none does.
int32_t documentoDellOrdine(const scEvaOrdVen &eva, const Chiave &ordine)
{
    const QString &d = eva.msTabDett;
    int32_t trovato = 0;
    for (const Chiave &doc : chiavi(documentiDellaRun(eva))) {
        if (esiste(QStringLiteral("Select Anno, NumRif from ") + d + QStringLiteral(" Where Anno = ") + N(doc.anno)
                   + QStringLiteral(" AND NumRif = ") + N(doc.numero) + QStringLiteral(" AND TipoProv = 'O' AND AnnoRifProv = ")
                   + N(ordine.anno) + QStringLiteral(" AND NumRifProv = ") + N(ordine.numero)))
            trovato = doc.numero;
    }
    return trovato;
}

bool inCorso(const Chiave &o)
{
    const QString chiave = QStringLiteral(" Where Anno = ") + N(o.anno) + QStringLiteral(" AND NumRif = ") + N(o.numero);
    return esiste(QStringLiteral("Select Anno, NumRif from OrdVenDett") + chiave + QStringLiteral(" AND FlagStato IN ('4','B')"))
           || esiste(QStringLiteral("Select Anno, NumRif from OrdVenLiv") + chiave + QStringLiteral(" AND FlagStato IN ('4','D')"));
}

// The engine's record sets on the order (and on the run's document `doc`, or the movement
// `mov`, when not 0) and the order's settings and lock; false, with an error line, when not.
bool rileggi(scEvaOrdVen &eva, const Chiave &o, int32_t doc, const Chiave &mov, bool &esci)
{
    QString errore;
    eva.RileggiDocEOrd(o.anno, o.numero, doc != 0 ? eva.oiAnno : int16_t{0}, doc, errore, ggMenuClient->NomeUtente(),
                       mov.anno, mov.numero);
    if (!errore.isEmpty()) {
        eva.AccodaErroreEva(0, errore);
        esci = true;
        return false;
    }
    eva.LeggiValTestOrd(esci);
    return !esci;
}

// The stock movement a cash-sale run made of the order and has not released: its lock names
// the order.
std::optional<Chiave> movimentoDellOrdine(const scEvaOrdVen &eva, const Chiave &o)
{
    const std::vector<Chiave> m =
        chiavi(QStringLiteral("Select Anno, NumReg from LockGest Where Tipo = 'M' AND Gestione = '3' AND Utente = ")
               + T(ggMenuClient->NomeUtente()) + QStringLiteral(" AND PadreTipo = 'O' AND PadreAnno = ") + N(eva.oiAnno)
               + QStringLiteral(" AND PadreNumReg = ") + N(o.numero));
    return m.empty() ? std::nullopt : std::optional<Chiave>(m.front());
}

// An order the run had taken (its lines marked) and written nothing of, that has nothing left
// to deliver: closed as a run closes such an order, with no document or movement, its marks
// cleared. False when it has something to deliver.
bool chiusoSenzaConsegne(scEvaOrdVen &eva, const Chiave &o, bool &esci)
{
    if (!eva.servizi().OrdineSoloASaldo(eva))
        return false;
    giornale(QStringLiteral("ripristino"), QStringLiteral("Ordine %1/%2: niente da consegnare").arg(o.anno).arg(o.numero));
    const QString chiave = QStringLiteral(" Where Anno = ") + N(o.anno) + QStringLiteral(" AND NumRif = ") + N(o.numero);
    ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Update OrdVenDett Set FlagStato = '0'") + chiave
                                        + QStringLiteral(" AND FlagStato IN ('4','B')"));
    ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Update OrdVenLiv Set FlagStato = '0'") + chiave
                                        + QStringLiteral(" AND FlagStato IN ('4','D')"));
    eva.ChiudiOrdineSenzaConsegne(esci);
    return true;
}

// One order of an interrupted cash-sale run: its movement (made now when the run stopped before
// it) completed with the lines not yet moved and posted as far as it was not, then the order's
// state and release.
void recuperaCorrispettivo(scEvaOrdVen &eva, const Chiave &o, bool &esci)
{
    const bool daRiprendere = inCorso(o);
    const std::optional<Chiave> mov = movimentoDellOrdine(eva, o);
    giornale(QStringLiteral("ripristino"),
             QStringLiteral("Ordine %1/%2: %3")
                 .arg(o.anno)
                 .arg(o.numero)
                 .arg(mov ? QStringLiteral("movimento %1/%2 da completare").arg(mov->anno).arg(mov->numero)
                      : daRiprendere ? QStringLiteral("movimento da creare")
                                     : QStringLiteral("sbloccato")));
    if (!rileggi(eva, o, 0, mov ? *mov : Chiave{}, esci))
        return;
    // Not reached, or finished up to the release of its own lock.
    if (!daRiprendere && !mov) {
        SbloccaRecord(eva.msAliasLockOrd, true);
        return;
    }
    if (mov)
        eva.miAnnoMov = mov->anno;
    else if (chiusoSenzaConsegne(eva, o, esci))
        return;
    else
        CreaTestMovMag(eva, esci);
    if (!esci)
        eva.servizi().EvadeDettCorrisp(eva, esci, true);
    eva.PostEvasioneDett(int16_t{1}, esci);
}

// One order of the interrupted run brought to its end.
void recuperaOrdine(scEvaOrdVen &eva, const Chiave &o, bool &esci)
{
    if (eva.obEvACorrisp) {
        recuperaCorrispettivo(eva, o, esci);
        return;
    }
    const bool daRiprendere = inCorso(o);
    const int32_t doc = documentoDellOrdine(eva, o);
    giornale(QStringLiteral("ripristino"), QStringLiteral("Ordine %1/%2: %3")
                                               .arg(o.anno)
                                               .arg(o.numero)
                                               .arg(daRiprendere ? QStringLiteral("righe da completare")
                                                    : doc != 0   ? QStringLiteral("da chiudere")
                                                                 : QStringLiteral("non raggiunto, sbloccato")));
    if (!rileggi(eva, o, doc, Chiave{}, esci))
        return;
    if (!daRiprendere && doc == 0) {
        SbloccaRecord(eva.msAliasLockOrd, true);
        return;
    }
    ServiziEvasione &s = eva.servizi();
    if (doc == 0) {
        if (chiusoSenzaConsegne(eva, o, esci))
            return;
        s.EvadoOrdTest(eva, esci);
        if (esci)
            return;
    }
    int16_t righe = 0;
    if (daRiprendere)
        s.EvadoOrdDett(eva, esci, righe, true);
    // The order has lines in the document, whether this resumption added any (its reference
    // line is not written again): a finished order whose release was interrupted, or a resumed
    // one, gets its expenses and its state.
    eva.PostEvasioneDett(int16_t{1}, esci);
}

QString chiaveDocumento(const Chiave &doc)
{
    return QStringLiteral(" Where Anno = ") + N(doc.anno) + QStringLiteral(" AND NumRif = ") + N(doc.numero);
}

// A document the run left without the lines it was making (no line of an order; for a header
// not yet registered, no line at all) and without totals.
bool senzaRighe(const scEvaOrdVen &eva, const Chiave &doc, bool registrato)
{
    const QString chiave = chiaveDocumento(doc);
    return !esiste(QStringLiteral("Select Anno, NumRif from ") + eva.msTabDett + chiave
                   + (registrato ? QStringLiteral(" AND TipoProv = 'O'") : QString()))
           && !esiste(QStringLiteral("Select Anno, NumRif from ") + eva.msTabTesta + chiave + QStringLiteral(" AND TotDocum <> 0"));
}

// Removes, in one transaction, the document when `elimina` (with its charge rows), its lock and
// its registration.
void rilasciaDocumento(const scEvaOrdVen &eva, const Chiave &doc, bool elimina)
{
    const QString chiave = chiaveDocumento(doc);
    IniziaTransazione();
    try {
        if (elimina) {
            QStringList tabelle{eva.msTabLiv, eva.msTabDett, eva.msTabSpese, eva.msTabTesta};
            if (eva.msTabTesta == QLatin1String("FatTest"))
                tabelle.insert(3, QStringLiteral("FatTestFe"));
            for (const QString &t : tabelle)
                ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Delete * from ") + t + chiave);
        }
        ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Delete * from LockGest Where Tipo = ") + T(eva.msTipoLockTes)
                                            + QStringLiteral(" AND Anno = ") + N(doc.anno)
                                            + QStringLiteral(" AND NumReg = ") + N(doc.numero));
        ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Delete * from DocDaElab Where Utente = ") + T(ggMenuClient->NomeUtente())
                                            + QStringLiteral(" AND Programma = ") + T(gsProgramma + gsProgrammaPar)
                                            + QStringLiteral(" AND Anno = ") + N(doc.anno)
                                            + QStringLiteral(" AND NumReg = ") + N(doc.numero));
        ConfermaTransazione();
    } catch (...) {
        AnnullaTransazione();
        throw;
    }
}

// What the run left of its document headers besides the ones it will close: a registered
// document that got no line of an order would close as a document without details, and a
// header locked but never registered (the run stopped while creating it) is never closed. The
// empty ones are removed whole, the others only released.
void liberaTestateIncomplete(const scEvaOrdVen &eva)
{
    for (const Chiave &doc : chiavi(documentiDellaRun(eva))) {
        if (!senzaRighe(eva, doc, true))
            continue;
        giornale(QStringLiteral("ripristino"), QStringLiteral("Documento %1/%2 senza righe: eliminato").arg(doc.anno).arg(doc.numero));
        rilasciaDocumento(eva, doc, true);
    }
    const std::vector<Chiave> registrati = chiavi(documentiDellaRun(eva));
    const auto registrato = [&](const Chiave &c) {
        return std::any_of(registrati.begin(), registrati.end(),
                           [&](const Chiave &r) { return r.anno == c.anno && r.numero == c.numero; });
    };
    for (const Chiave &doc : chiavi(QStringLiteral("Select Anno, NumReg from LockGest Where Tipo = ") + T(eva.msTipoLockTes)
                                    + QStringLiteral(" AND Gestione = '3' AND Utente = ") + T(ggMenuClient->NomeUtente()))) {
        if (registrato(doc))
            continue;
        const bool vuoto = senzaRighe(eva, doc, false);
        giornale(QStringLiteral("ripristino"), QStringLiteral("Testata %1/%2 non registrata: %3")
                                                   .arg(doc.anno)
                                                   .arg(doc.numero)
                                                   .arg(vuoto ? QStringLiteral("eliminata") : QStringLiteral("sbloccata")));
        rilasciaDocumento(eva, doc, vuoto);
    }
}

} // namespace

bool RecuperaEvasione(scEvaOrdVen &eva)
{
    const QString utente = ggMenuClient->NomeUtente();
    bool esci = false;
    try {
        eva.msFase = QStringLiteral("Ripristino evasione ordini");
        const bool salvata = esiste(QStringLiteral("Select 0, 0 from AppoggioTemp Where Utente = ") + T(utente)
                                    + QStringLiteral(" AND IdProgramma = 'scEvaOrdVen'"));
        if (!eva.LeggiComuniOK(salvata, Variant(utente)))
            return false;
        // What was interrupted decides, not the request saved last (a later run may have
        // replaced or removed it): a cash sale registers no document, and the locks of its
        // movements name their orders.
        if (!esiste(documentiDellaRun(eva))
            && esiste(QStringLiteral("Select Anno, NumReg from LockGest Where Tipo = 'M' AND Gestione = '3'"
                                     " AND PadreTipo = 'O' AND Utente = ") + T(utente)))
            eva.obEvACorrisp = true;
        QString nonUsato;
        eva.LetCtrFatDocOrdErr(nonUsato);

        const std::vector<Chiave> ordini =
            chiavi(QStringLiteral("Select Anno, NumReg from LockGest Where Tipo = 'O' AND Gestione = '3' AND Utente = ")
                   + T(utente) + QStringLiteral(" Order by Anno, NumReg"));
        for (const Chiave &o : ordini) {
            recuperaOrdine(eva, o, esci);
            if (esci)
                break;
        }
        if (!esci && !eva.obEvACorrisp) {
            liberaTestateIncomplete(eva);
            GestRecordset &rs = eva.mgRecs();
            eva.msAliasDocDaElab = QStringLiteral("EvaOrdDocDaElab");
            rs.Apri(*ggDbAzienda, gsNomeConn, eva.msAliasDocDaElab,
                    documentiDellaRun(eva).replace(QStringLiteral("Select Anno, NumReg"), QStringLiteral("Select *")), false,
                    dbOpenDynaset);
            eva.servizi().ChiudiFatBolle(eva, eva.msAliasDocDaElab, esci, eva.mgAvanzElab());
            rs.Chiudi(eva.msAliasDocDaElab);
            rs.Chiudi(eva.msAliasOrd);
        }
        if (!esci)
            eva.servizi().CancellaAppoggioTemp(eva, utente, QStringLiteral("scEvaOrdVen"));
    } catch (const AppError &e) {
        eva.AccodaErroreEva(e.number(), e.description());
        esci = true;
    }
    eva.mgAvanzElab().Termina(true);
    eva.RilasciaRecordset();
    if (eva.miNumErrori > 0)
        frmMsgCom::msgCom(eva.msErrori, QStringLiteral("&Ok"));
    if (esci || eva.miNumErrori > 0)
        return false;
    frmMsgCom::msgCom(QStringLiteral("Ripristino terminato"), QStringLiteral("&Ok"));
    return true;
}
