#include "recupero.h"

#include "blocchi.h"
#include "connessionedb.h"
#include "contesto.h"
#include "datiordine.h"
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

bool operator==(const Chiave &a, const Chiave &b) { return a.anno == b.anno && a.numero == b.numero; }

// The rows of a query, each as its first `colonne` values.
std::vector<std::vector<Variant>> valori(const QString &sql, int colonne)
{
    std::vector<std::vector<Variant>> out;
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, sql);
    for (; !rs.Eof(a); rs.MoveNext(a)) {
        std::vector<Variant> riga;
        for (int i = 0; i < colonne; ++i)
            riga.push_back(rs.Recordset(a).Valore(rs.AbsolutePosition(a), i));
        out.push_back(std::move(riga));
    }
    rs.Chiudi(a);
    return out;
}

std::vector<Chiave> chiavi(const QString &sql)
{
    std::vector<Chiave> out;
    for (const std::vector<Variant> &r : valori(sql, 2))
        out.push_back({r[0].toInteger(), r[1].toLong()});
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

// What became of an order of the interrupted run.
enum class Ripreso {
    Finito,    // brought to its end, or only released
    Rifiutato, // its data cannot be converted: refused and released, with what it had written
    Sospeso,   // left as it stands (locked, marked) for another recovery
};

QString ordineNonCompletato(const Chiave &o)
{
    return QStringLiteral("Ordine n.rif %1 anno %2 non completato").arg(o.numero).arg(o.anno);
}

// Whether the interrupted run left a line of the order written without its levels, or levels
// written: a part of a line that only its conversion can complete.
bool righeAMeta(const Chiave &o)
{
    const QString chiave = QStringLiteral(" Where Anno = ") + N(o.anno) + QStringLiteral(" AND NumRif = ") + N(o.numero);
    return esiste(QStringLiteral("Select Anno, NumRif from OrdVenDett") + chiave + QStringLiteral(" AND FlagStato = 'B'"))
           || esiste(QStringLiteral("Select Anno, NumRif from OrdVenLiv") + chiave + QStringLiteral(" AND FlagStato = 'D'"));
}

// The check of an order to resume (the engine stands on it): an order whose data cannot be
// converted is refused (what it had written stays, the rest of it is released) when nothing of
// it is half-written, else left for a recovery after its data is corrected. nullopt when it may
// be resumed.
std::optional<Ripreso> controllaDaRiprendere(scEvaOrdVen &eva, const Chiave &o, bool aMeta)
{
    const std::optional<QString> motivo = MotivoOrdineNonConvertibile(eva, eva.obSoloASaldo, true);
    if (!motivo)
        return std::nullopt;
    giornale(QStringLiteral("ripristino"), QStringLiteral("Ordine %1/%2: %3").arg(o.anno).arg(o.numero).arg(*motivo));
    const QString errore = ordineNonCompletato(o) + QStringLiteral(", ") + *motivo;
    if (aMeta) {
        eva.AccodaErroreEva(0, errore);
        return Ripreso::Sospeso;
    }
    RifiutaOrdine(eva, errore, true);
    return Ripreso::Rifiutato;
}

// A movement a cash sale of this user left: its lock, which names the order by its number
// only (and the run's year, not the order's).
struct MovimentoFermo {
    Chiave mov;
    int32_t numRifOrdine = 0;
};

std::vector<MovimentoFermo> movimentiFermi()
{
    std::vector<MovimentoFermo> out;
    for (const std::vector<Variant> &r :
         valori(QStringLiteral("Select Anno, NumReg, PadreNumReg from LockGest Where Tipo = 'M' AND Gestione = '3'"
                               " AND PadreTipo = 'O' AND Utente = ")
                    + T(ggMenuClient->NomeUtente()) + QStringLiteral(" Order by Anno, NumReg"),
                3))
        out.push_back({{r[0].toInteger(), r[1].toLong()}, r[2].toLong()});
    return out;
}

QString chiaveMovimento(const Chiave &mov)
{
    return QStringLiteral(" Where Anno = ") + N(mov.anno) + QStringLiteral(" AND NumReg = ") + N(mov.numero);
}

QString nomeMovimento(const Chiave &mov)
{
    return QStringLiteral("Movimento di magazzino n.reg %1 anno %2").arg(mov.numero).arg(mov.anno);
}

// The orders the rows of the movement come from, posted or still to post.
std::vector<Chiave> ordiniDelMovimento(const Chiave &mov)
{
    std::vector<Chiave> out;
    for (const char *tabella : {"MovMagDettApp", "MovMagDett"})
        for (const Chiave &o : chiavi(QStringLiteral("Select AnnoRifProv, NumRifProv from ") + QLatin1String(tabella)
                                      + chiaveMovimento(mov) + QStringLiteral(" AND TipoProv = 'O'")))
            if (std::find(out.begin(), out.end(), o) == out.end())
                out.push_back(o);
    return out;
}

bool movimentoSenzaRighe(const Chiave &mov)
{
    return !esiste(QStringLiteral("Select Anno, NumReg from MovMagDettApp") + chiaveMovimento(mov))
           && !esiste(QStringLiteral("Select Anno, NumReg from MovMagDett") + chiaveMovimento(mov));
}

// A movement the run stopped before it got a row: the header goes with its lock, in one
// transaction. Its order, if its lines were taken, gets a movement of its own afterwards.
void eliminaMovimentoVuoto(const Chiave &mov)
{
    IniziaTransazione();
    try {
        ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Delete * from MovMagTes") + chiaveMovimento(mov));
        ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Delete * from LockGest Where Tipo = 'M' AND Anno = ") + N(mov.anno)
                                            + QStringLiteral(" AND NumReg = ") + N(mov.numero)
                                            + QStringLiteral(" AND Utente = ") + T(ggMenuClient->NomeUtente()));
        ConfermaTransazione();
    } catch (...) {
        AnnullaTransazione();
        throw;
    }
}

// The movement of order `o` completed in the engine's recovery mode with the lines the run had
// not moved, its rows numbered on, posted as far as it was not, then the order's state and
// release. The order type is the movement's own, whose causals the conversion uses.
void completaMovimento(scEvaOrdVen &eva, const Chiave &mov, const Chiave &o, bool &esci)
{
    const std::vector<std::vector<Variant>> testata =
        valori(QStringLiteral("Select FattDocumento from MovMagTes") + chiaveMovimento(mov), 1);
    if (testata.empty()) {
        eva.AccodaErroreEva(0, nomeMovimento(mov) + QStringLiteral(": manca la testata"));
        esci = true;
        return;
    }
    eva.osFattDocOrd = testata.front().front().text();
    QString errore;
    if (eva.LetCtrFatDocOrdErr(errore)) {
        eva.AccodaErroreEva(0, errore);
        esci = true;
        return;
    }
    if (!rileggi(eva, o, 0, mov, esci))
        return;
    // A movement already begun is completed only by the conversion of its order.
    if (controllaDaRiprendere(eva, o, true)) {
        esci = true;
        return;
    }
    eva.miAnnoMov = mov.anno;
    eva.msRidMovTes = eva.mgRecs().Apri(*ggDbAzienda, gsNomeConn, QString(),
                                        QStringLiteral("Select * from MovMagTes") + chiaveMovimento(mov), false,
                                        dbOpenDynaset);
    eva.servizi().EvadeDettCorrisp(eva, esci, true);
    eva.PostEvasioneDett(int16_t{1}, esci);
}

// Every movement a cash sale of this user left, whatever request was saved since: each is
// completed for the order its rows come from, or removed when it got no row. A movement that
// cannot be completed is named in the error list; its orders, kept in `lasciati` (year 0: any
// year), stay as they are, and the other movements are completed all the same.
void recuperaMovimenti(scEvaOrdVen &eva, std::vector<Chiave> &lasciati)
{
    const bool corrispettivo = eva.obEvACorrisp;
    const QString tipoOrdine = eva.osFattDocOrd;
    eva.obEvACorrisp = true;
    for (const MovimentoFermo &m : movimentiFermi()) {
        const std::vector<Chiave> ordini = ordiniDelMovimento(m.mov);
        if (ordini.empty() && movimentoSenzaRighe(m.mov)) {
            giornale(QStringLiteral("ripristino"),
                     QStringLiteral("Movimento %1/%2 senza righe: eliminato").arg(m.mov.anno).arg(m.mov.numero));
            eliminaMovimentoVuoto(m.mov);
            continue;
        }
        if (ordini.size() != 1 || ordini.front().numero != m.numRifOrdine) {
            eva.msFase = QStringLiteral("Ripristino evasione ordini");
            eva.AccodaErroreEva(0, nomeMovimento(m.mov)
                                       + QStringLiteral(": le sue righe non vengono solo dall'ordine n.rif %1, movimento"
                                                        " non completato")
                                             .arg(m.numRifOrdine));
            lasciati.insert(lasciati.end(), ordini.begin(), ordini.end());
            lasciati.push_back({0, m.numRifOrdine});
            continue;
        }
        const Chiave &o = ordini.front();
        giornale(QStringLiteral("ripristino"), QStringLiteral("Ordine %1/%2: movimento %3/%4 da completare")
                                                   .arg(o.anno)
                                                   .arg(o.numero)
                                                   .arg(m.mov.anno)
                                                   .arg(m.mov.numero));
        bool esci = false;
        try {
            completaMovimento(eva, m.mov, o, esci);
        } catch (const AppError &e) {
            eva.AccodaErroreEva(e.number(), e.description());
            esci = true;
        }
        if (esci) {
            eva.msFase = QStringLiteral("Ripristino evasione ordini");
            eva.AccodaErroreEva(0, nomeMovimento(m.mov)
                                       + QStringLiteral(" dell'ordine %1/%2 non completato").arg(o.anno).arg(o.numero));
            lasciati.push_back(o);
        }
    }
    eva.obEvACorrisp = corrispettivo;
    eva.osFattDocOrd = tipoOrdine;
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

// One order of an interrupted cash-sale run whose movement, if any, is done (recuperaMovimenti):
// an order whose lines the run had taken gets its movement now, which is removed again when
// nothing of the order moves stock; any other is only released.
Ripreso recuperaCorrispettivo(scEvaOrdVen &eva, const Chiave &o, bool &esci)
{
    const bool daRiprendere = inCorso(o);
    giornale(QStringLiteral("ripristino"),
             QStringLiteral("Ordine %1/%2: %3")
                 .arg(o.anno)
                 .arg(o.numero)
                 .arg(daRiprendere ? QStringLiteral("movimento da creare") : QStringLiteral("sbloccato")));
    if (!rileggi(eva, o, 0, Chiave{}, esci))
        return Ripreso::Sospeso;
    if (!daRiprendere) {
        SbloccaRecord(eva.msAliasLockOrd, true);
        return Ripreso::Finito;
    }
    if (const std::optional<Ripreso> r = controllaDaRiprendere(eva, o, righeAMeta(o)))
        return *r;
    if (chiusoSenzaConsegne(eva, o, esci))
        return esci ? Ripreso::Sospeso : Ripreso::Finito;
    CreaTestMovMag(eva, esci);
    if (!esci)
        eva.servizi().EvadeDettCorrisp(eva, esci, true);
    eva.PostEvasioneDett(int16_t{1}, esci);
    return esci ? Ripreso::Sospeso : Ripreso::Finito;
}

// One order of the interrupted run brought to its end.
Ripreso recuperaOrdine(scEvaOrdVen &eva, const Chiave &o, bool &esci)
{
    if (eva.obEvACorrisp)
        return recuperaCorrispettivo(eva, o, esci);
    const bool daRiprendere = inCorso(o);
    const int32_t doc = documentoDellOrdine(eva, o);
    giornale(QStringLiteral("ripristino"), QStringLiteral("Ordine %1/%2: %3")
                                               .arg(o.anno)
                                               .arg(o.numero)
                                               .arg(daRiprendere ? QStringLiteral("righe da completare")
                                                    : doc != 0   ? QStringLiteral("da chiudere")
                                                                 : QStringLiteral("non raggiunto, sbloccato")));
    if (!rileggi(eva, o, doc, Chiave{}, esci))
        return Ripreso::Sospeso;
    if (!daRiprendere && doc == 0) {
        SbloccaRecord(eva.msAliasLockOrd, true);
        return Ripreso::Finito;
    }
    if (daRiprendere) {
        if (const std::optional<Ripreso> r = controllaDaRiprendere(eva, o, righeAMeta(o)))
            return *r;
    }
    ServiziEvasione &s = eva.servizi();
    if (doc == 0) {
        if (chiusoSenzaConsegne(eva, o, esci))
            return esci ? Ripreso::Sospeso : Ripreso::Finito;
        s.EvadoOrdTest(eva, esci);
        if (esci)
            return Ripreso::Sospeso;
    }
    int16_t righe = 0;
    if (daRiprendere)
        s.EvadoOrdDett(eva, esci, righe, true);
    // The order has lines in the document, whether this resumption added any (its reference
    // line is not written again): a finished order whose release was interrupted, or a resumed
    // one, gets its expenses and its state.
    eva.PostEvasioneDett(int16_t{1}, esci);
    return esci ? Ripreso::Sospeso : Ripreso::Finito;
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

EsitoRipristino RecuperaEvasione(scEvaOrdVen &eva)
{
    const QString utente = ggMenuClient->NomeUtente();
    bool fallito = false;
    int rifiutati = 0;
    // The orders left for another recovery (year 0: any year).
    std::vector<Chiave> lasciati;
    try {
        eva.msFase = QStringLiteral("Ripristino evasione ordini");
        const bool salvata = esiste(QStringLiteral("Select 0, 0 from AppoggioTemp Where Utente = ") + T(utente)
                                    + QStringLiteral(" AND IdProgramma = 'scEvaOrdVen'"));
        if (!eva.LeggiComuniOK(salvata, Variant(utente)))
            return EsitoRipristino::Fallito;
        // What was interrupted decides, not the request saved last (a later run may have
        // replaced or removed it): a cash sale registers no document, and the locks of its
        // movements name their orders.
        if (!esiste(documentiDellaRun(eva)) && !movimentiFermi().empty())
            eva.obEvACorrisp = true;
        recuperaMovimenti(eva, lasciati);
        QString nonUsato;
        eva.LetCtrFatDocOrdErr(nonUsato);

        // An order that cannot be finished is said and left; the others are finished all the same.
        const auto lasciato = [&](const Chiave &o) {
            return std::any_of(lasciati.begin(), lasciati.end(),
                               [&](const Chiave &l) { return l.numero == o.numero && (l.anno == 0 || l.anno == o.anno); });
        };
        const std::vector<Chiave> ordini =
            chiavi(QStringLiteral("Select Anno, NumReg from LockGest Where Tipo = 'O' AND Gestione = '3' AND Utente = ")
                   + T(utente) + QStringLiteral(" Order by Anno, NumReg"));
        std::vector<Chiave> sospesi;
        for (const Chiave &o : ordini) {
            // the order of a movement left unfinished gets no second one
            if (lasciato(o))
                continue;
            bool esci = false;
            Ripreso r = Ripreso::Sospeso;
            try {
                r = recuperaOrdine(eva, o, esci);
            } catch (const AppError &e) {
                eva.AccodaErroreEva(e.number(), e.description());
            }
            if (r == Ripreso::Rifiutato)
                ++rifiutati;
            if (r != Ripreso::Sospeso)
                continue;
            if (esci)
                eva.AccodaErroreEva(0, ordineNonCompletato(o));
            sospesi.push_back(o);
        }
        lasciati.insert(lasciati.end(), sospesi.begin(), sospesi.end());
        if (!eva.obEvACorrisp) {
            liberaTestateIncomplete(eva);
            // The documents holding lines of an order left for another recovery stay open with it.
            QStringList daTenere;
            for (const Chiave &o : sospesi) {
                if (const int32_t doc = documentoDellOrdine(eva, o))
                    daTenere << N(doc);
            }
            GestRecordset &rs = eva.mgRecs();
            eva.msAliasDocDaElab = QStringLiteral("EvaOrdDocDaElab");
            rs.Apri(*ggDbAzienda, gsNomeConn, eva.msAliasDocDaElab,
                    documentiDellaRun(eva).replace(QStringLiteral("Select Anno, NumReg"), QStringLiteral("Select *"))
                        + (daTenere.isEmpty() ? QString()
                                              : QStringLiteral(" AND NumReg Not In (") + daTenere.join(u',') + QStringLiteral(")")),
                    false, dbOpenDynaset);
            eva.servizi().ChiudiFatBolle(eva, eva.msAliasDocDaElab, fallito, eva.mgAvanzElab());
            rs.Chiudi(eva.msAliasDocDaElab);
            rs.Chiudi(eva.msAliasOrd);
        }
        if (!fallito && lasciati.empty())
            eva.servizi().CancellaAppoggioTemp(eva, utente, QStringLiteral("scEvaOrdVen"));
    } catch (const AppError &e) {
        eva.AccodaErroreEva(e.number(), e.description());
        fallito = true;
    }
    eva.mgAvanzElab().Termina(true);
    eva.RilasciaRecordset();
    if (eva.miNumErrori > 0)
        frmMsgCom::msgCom(eva.msErrori, QStringLiteral("&Ok"));
    if (fallito || !lasciati.empty())
        return EsitoRipristino::Fallito;
    frmMsgCom::msgCom(QStringLiteral("Ripristino terminato"), QStringLiteral("&Ok"));
    return eva.miNumErrori > 0 || rifiutati > 0 ? EsitoRipristino::ConErrori : EsitoRipristino::Completo;
}
