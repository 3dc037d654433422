// The cash-sale conversion of an order: one stock movement, its rows written line by line, then
// posted at once; the order's lines and levels get their fulfilled quantities and states.
#include "corrispettivo.h"
#include "evasionedettagli.h"

#include "blocchi.h"
#include "comunirighe.h"
#include "confrontaarrotondati.h"
#include "connessionedb.h"
#include "contesto.h"
#include "importiriga.h"
#include "registrazionemovimento.h"
#include "scevaordven.h"
#include "scorporavaloririga.h"
#include "statoriga.h"
#include "testatamovimento.h"
#include "transazionecomune.h"
#include "transazioni.h"
#include "utilgenerali.h"

#include <algorithm>

namespace {

QString T(const char *testo)
{
    return UtilGenerali::SqlValore(Variant(QString::fromLatin1(testo)), 8);
}

// The quantities of the cursor's line: what moves (the staged quantity, or all that is left),
// and what the order line counts as taken (never more than is left).
void quantita(scEvaOrdVen &eva, const QString &cur, RigaInConversione &riga)
{
    const GestRecordset &recs = eva.mgRecs();
    riga.qtaOrdinata = Numero(recs, cur, u"OrdVenDett.Qta");
    const double aperta = riga.qtaOrdinata - Numero(recs, cur, u"OrdVenDett.QtaEvasa");
    const Variant daEvadere = recs.ValoreCampo(cur, u"OrdVenEvaDett.QtaDaEva");
    riga.qtaDaEvadere = eva.obEvasManule ? UtilGenerali::ValoreNumerico(daEvadere) : aperta;
    riga.qtaProv = std::max(
        0.0, UtilGenerali::ValoreNumerico(UtilGenerali::Minimo({Variant(Currency::fromDouble(aperta)), daEvadere})));
}

} // namespace

ImportiMovimento ImportiDaMuovere(scEvaOrdVen &eva, const Corrispettivo &c, double qtaMov, bool livello)
{
    const GestRecordset &recs = eva.mgRecs();
    const QString &cur = c.conv.aliasCursore;
    const QString t = livello ? QStringLiteral("OrdVenLiv.") : QStringLiteral("OrdVenDett.");
    const auto campo = [&](const char *nome) { return QString(t + QLatin1String(nome)); };
    ImportiMovimento v;
    if (ConfrontaArrotondati(Variant(Numero(recs, cur, campo("Qta"))), Variant(qtaMov), -8) == 0) {
        v.totale = Numero(recs, cur, campo("ValTotale"));
        v.lire = Numero(recs, cur, campo("ValLire"));
        v.euro = Numero(recs, cur, campo("ValEuro"));
        return v;
    }
    v.totale = RicalcolaTotale(recs.ValoreCampo(cur, campo("ValUnitario")), qtaMov,
                               Testo(recs, cur, u"OrdVenDett.ScontoTot"), c.conv.numDecGest, c.conv.numDec);
    // The twins at the order's own rate, as the order holds them for the whole quantity.
    CambioRiga cambio;
    cambio.cambioOrdine = recs.ValoreCampo(eva.msAliasOrd, u"OrdVenTest.Cambio");
    cambio.cambioDocumento = cambio.cambioOrdine;
    cambio.operatore = Testo(recs, eva.msAliasOrd, u"Monete.Operatore");
    cambio.moneta = recs.ValoreCampo(eva.msAliasOrd, u"Monete.Moneta");
    Variant lire, euro;
    ConvertiTotale(v.totale, cambio, lire, euro);
    v.lire = UtilGenerali::ValoreNumerico(lire);
    v.euro = UtilGenerali::ValoreNumerico(euro);
    return v;
}

namespace {

// The movement row of a stock article line, stored and left current for its level totals.
void scriviRigaMovimento(scEvaOrdVen &eva, Corrispettivo &c, const RigaInConversione &riga)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &cur = c.conv.aliasCursore;
    const QString &mov = c.aliasMovDett;
    c.righe = Successivo(c.righe);
    double fatCon = Numero(recs, cur, u"OrdVenDett.FatCon");
    if (fatCon <= 0)
        fatCon = 1;

    const ImportiMovimento lordi = ImportiDaMuovere(eva, c, riga.qtaDaEvadere, false);
    Variant unitario, totale, lire, euro;
    ScorporaValoriRiga(Variant(riga.qtaDaEvadere), Testo(recs, cur, u"TabIva.TipoIva"),
                       recs.ValoreCampo(cur, u"TabIva.Aliquota"),
                       Testo(recs, eva.msAliasOrd, u"OrdVenTest.PrezziIvati"), c.conv.numDec, c.conv.numDecGest,
                       recs.ValoreCampo(cur, u"OrdVenDett.ValUnitario"), Variant(lordi.totale), Variant(lordi.lire),
                       Variant(lordi.euro), unitario, totale, lire, euro);

    recs.AddNew(mov);
    try {
        recs.ScriviCampo(mov, u"Anno", Variant(eva.miAnnoMov));
        recs.ScriviCampo(mov, u"NumReg", Variant(eva.mlNumRegMov));
        recs.ScriviCampo(mov, u"RigReg", Variant(c.righe));
        recs.ScriviCampo(mov, u"RigLiv", recs.ValoreCampo(cur, u"OrdVenDett.RigLiv"));
        recs.ScriviCampo(mov, u"RigDoc", Variant(UtilGenerali::ValoreLong(recs.ValoreCampo(cur, u"OrdVenDett.RigDet"))));
        recs.ScriviCampo(mov, u"Articolo", recs.ValoreCampo(cur, u"OrdVenDett.Articolo"));
        recs.ScriviCampo(mov, u"UM", recs.ValoreCampo(cur, u"OrdVenDett.UM"));
        recs.ScriviCampo(mov, u"FatCon", Variant(fatCon));
        recs.ScriviCampo(mov, u"Qta", Variant(riga.qtaDaEvadere));
        recs.ScriviCampo(mov, u"QtaAggMag", Variant(riga.qtaDaEvadere * fatCon));
        recs.ScriviCampo(mov, u"ValUnitario", unitario);
        recs.ScriviCampo(mov, u"ValTotale", totale);
        recs.ScriviCampo(mov, u"ValLire", lire);
        recs.ScriviCampo(mov, u"ValEuro", euro);
        recs.ScriviCampo(mov, u"FlagStato", Variant("0"));
        recs.ScriviCampo(mov, u"CopiaTaglia", Variant(int16_t{0}));
        recs.ScriviCampo(mov, u"TipoProv", Variant("O"));
        recs.ScriviCampo(mov, u"AnnoRifProv", recs.ValoreCampo(cur, u"OrdVenDett.Anno"));
        recs.ScriviCampo(mov, u"NumRifProv", recs.ValoreCampo(cur, u"OrdVenDett.NumRif"));
        recs.ScriviCampo(mov, u"RigaRifProv", recs.ValoreCampo(cur, u"OrdVenDett.RigLiv"));
        recs.Update(mov);
    } catch (...) {
        recs.CancelUpdate(mov);
        throw;
    }
    recs.VaiUltimoModificato(mov);
}

// The highest RigReg of the movement, among its rows posted and still to post; 0 without rows.
int32_t ultimaRigaMovimento(const scEvaOrdVen &eva)
{
    int32_t ultima = 0;
    GestRecordset rs;
    for (const char *tabella : {"MovMagDett", "MovMagDettApp"}) {
        const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, QStringLiteral("UltRigReg"),
                                      QStringLiteral("Select Max(RigReg) AS Ultima from ") + QLatin1String(tabella) +
                                          QStringLiteral(" where Anno = ") +
                                          UtilGenerali::SqlValore(Variant(eva.miAnnoMov), 2) +
                                          QStringLiteral(" AND NumReg = ") +
                                          UtilGenerali::SqlValore(Variant(eva.mlNumRegMov), 3),
                                      false, dbOpenSnapshot);
        ultima = std::max(ultima, rs.LeggiCampo(alias, u"Ultima", 3).toLong());
        rs.Chiudi(alias);
    }
    return ultima;
}

// A line an interrupted run left at "B": its movement row is the last one written for it.
bool riprendiRiga(scEvaOrdVen &eva, Corrispettivo &c)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &cur = c.conv.aliasCursore;
    const QString sql = QStringLiteral("SELECT MovMagDettApp.*") + QStringLiteral(" From MovMagDettApp") +
                        QStringLiteral(" WHERE") + QStringLiteral(" MovMagDettApp.TipoProv=") + T("O") +
                        QStringLiteral(" AND MovMagDettApp.AnnoRifProv=") +
                        UtilGenerali::SqlValore(recs.LeggiCampo(cur, u"OrdVenDett.Anno"), 2) +
                        QStringLiteral(" AND MovMagDettApp.NumRifProv=") +
                        UtilGenerali::SqlValore(recs.LeggiCampo(cur, u"OrdVenDett.NumRif"), 3) +
                        QStringLiteral(" AND MovMagDettApp.RigaRifProv=") +
                        UtilGenerali::SqlValore(recs.LeggiCampo(cur, u"OrdVenDett.RigLiv"), 3) +
                        QStringLiteral(" ORDER BY MovMagDettApp.RigLiv");
    c.aliasMovDett = recs.Apri(*ggDbAzienda, gsNomeConn, alias::kMovDett, sql, false, dbOpenDynaset);
    if (recs.NessunRecord(c.aliasMovDett))
        return false;
    recs.MoveLast(c.aliasMovDett);
    return true;
}

// One line of the cursor, in its own transaction: its movement row when it moves stock, the
// order line's quantity, state and committed quantities, its run marker; then its levels. A line
// with levels is written whole or not at all (the line's and levels' transactions nest in one),
// so a stop never leaves a movement row short of its levels' totals nor an order line that does
// not count its transferred levels.
void evadoRiga(scEvaOrdVen &eva, Corrispettivo &c)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &cur = c.conv.aliasCursore;
    const bool conLivelli = RigaConLivelli(eva, cur);
    TransazioneComune transazione(conLivelli);
    c.conv.aliasOrdDett =
        recs.Apri(*ggDbAzienda, gsNomeConn, alias::kOrdDett, eva.PrepSqlRilettOrdDett(cur), false, dbOpenDynaset);
    // Whether the line has a movement row of its own, which its level totals then replace.
    bool rigaPropria = false;
    if (c.conv.pbRipri && Flag(recs, cur, u"OrdVenDett.FlagStato", u"B")) {
        rigaPropria = riprendiRiga(eva, c);
    } else {
        eva.msFase = QStringLiteral("Evasione dettagli: Evasione dei dettagli a Corrispettivo");
        RigaInConversione riga;
        quantita(eva, cur, riga);
        IniziaTransazione();
        c.conv.transazioneAperta = true;
        // A line with nothing left to deliver is only closed: it moves no stock.
        if (Flag(recs, cur, u"OrdVenDett.TipoRiga", u"A") && Flag(recs, cur, u"Articoli.ArtMag", u"S") &&
            !NienteDaConsegnare(eva, cur)) {
            scriviRigaMovimento(eva, c, riga);
            rigaPropria = true;
        }
        ScriviStatoRiga(eva, c.conv, riga);
    }
    if (conLivelli)
        EvadoLivelliCorrisp(eva, c, rigaPropria);
    transazione.conferma();
}

// "E" when no article line of the current order is left open, else "P".
QString statoOrdine(scEvaOrdVen &eva)
{
    GestRecordset &recs = eva.mgRecs();
    GestRecordset aperte;
    const QString alias = aperte.Apri(
        *ggDbAzienda, gsNomeConn, QString(),
        QStringLiteral("Select OrdVenDett.*") + QStringLiteral(" from OrdVenDett") +
            QStringLiteral(" Where OrdVenDett.Anno = ") +
            UtilGenerali::SqlValore(recs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.Anno"), 2) +
            QStringLiteral(" AND OrdVenDett.NumRif = ") +
            UtilGenerali::SqlValore(recs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.NumRif"), 3) +
            QStringLiteral(" AND (OrdVenDett.TipoRiga= ") + T("A") + QStringLiteral(" OR OrdVenDett.TipoRiga= ") +
            T("M") + QStringLiteral(")") + QStringLiteral(" AND (OrdVenDett.StatoRiga<>") + T("E") +
            QStringLiteral(" OR OrdVenDett.StatoRiga is NULL)"),
        false, dbOpenSnapshot);
    const QString stato = aperte.NessunRecord(alias) ? QStringLiteral("E") : QStringLiteral("P");
    aperte.Chiudi(alias);
    return stato;
}

void scriviStatoOrdine(scEvaOrdVen &eva)
{
    // An open order stays open whatever its lines.
    if (OrdineAperto(eva))
        return;
    GestRecordset &recs = eva.mgRecs();
    const QString stato = statoOrdine(eva);
    recs.Edit(eva.msAliasOrd);
    recs.ScriviCampo(eva.msAliasOrd, u"OrdVenTest.Stato", Variant(stato));
    recs.Update(eva.msAliasOrd);
}

// A movement that got rows is posted, and its lock released once the order's state is written;
// one without rows goes with its lock. (A resumed movement counts the rows it had before.) A
// posting that fails keeps the movement and its lock for the recovery, and stops the run.
void fineOrdine(scEvaOrdVen &eva, Corrispettivo &c, bool &pbEsci)
{
    GestRecordset &recs = eva.mgRecs();
    if (c.righe != 0) {
        QString utente, gestione = QStringLiteral("M"), varie, stato;
        (void)BloccaRecord(QStringLiteral("3"), QString(), 0, 0, false, true, eva.msAliasLockMov,
                           QStringLiteral("Il movimento"), utente, gestione, varie, false, QString(), 0, 0, 0, stato);
        const EsitoPosting esito = RiaggiornaMovimentoCorrisp(eva.miAnnoMov, eva.mlNumRegMov, eva.msAliasLockMov);
        if (!esito.riuscito()) {
            eva.AccodaErroreEva(esito.numero, esito.descrizione);
            pbEsci = true;
            return;
        }
    } else {
        CancellaTestMovMag(eva, recs, eva.msRidMovTes, eva.msAliasLockMov, eva.msAliasTesDoc, true,
                           QStringLiteral("NumMovim"), QStringLiteral("AnnoMovim"));
    }
    // Lines of articles that move no stock are fulfilled all the same: the order's state follows
    // its lines whether or not it gave a row.
    scriviStatoOrdine(eva);
    if (c.righe != 0)
        SbloccaRecord(eva.msAliasLockMov, true);
}

void chiudi(scEvaOrdVen &eva, Corrispettivo &c)
{
    eva.msFase = QStringLiteral("Evasione dettagli A CORRISPETTIVO: Chiusura recordset");
    GestRecordset &recs = eva.mgRecs();
    for (const QString &a : {c.conv.aliasCursore, alias::kDettDoc, alias::kLivDoc, c.conv.aliasOrdDett,
                             c.aliasMovDett, c.aliasMovLiv, eva.msRidMovTes})
        if (!a.isEmpty())
            recs.Chiudi(a);
    eva.msRidMovTes.clear();
}

} // namespace

void EvadeDettCorrisp(scEvaOrdVen &eva, bool &pbEsci, bool pbRipri)
{
    Corrispettivo c;
    c.conv.pbRipri = pbRipri;
    GestRecordset &recs = eva.mgRecs();
    try {
        if (!pbRipri) {
            SegnaRigheOrdine(eva);
            CreaTestMovMag(eva, pbEsci);
        } else {
            // The rows added go on from those the movement has, posted or not.
            c.righe = ultimaRigaMovimento(eva);
        }
        if (pbEsci)
            return;

        eva.msFase = QStringLiteral("Evasione dettagli a corrispettivo");
        const QString sql = eva.PrepSqlDett(0, pbRipri);
        eva.msFase = QStringLiteral("Evasione dettagli: preparazione dei recordset");
        c.conv.aliasCursore = recs.Apri(*ggDbAzienda, gsNomeConn, alias::kCursore, sql, false, dbOpenDynaset);
        if (recs.NessunRecord(c.conv.aliasCursore)) {
            // Nothing to convert: the movement goes with its lock, the order stays as it was.
            // A resumed movement is posted with the rows it has, if any.
            if (pbRipri)
                fineOrdine(eva, c, pbEsci);
            else
                CancellaTestMovMag(eva, recs, eva.msRidMovTes, eva.msAliasLockMov, eva.msAliasTesDoc, true,
                                   QStringLiteral("NumMovim"), QStringLiteral("AnnoMovim"));
        } else {
            c.conv.numDec = recs.LeggiCampo(eva.msAliasOrd, u"Monete.NumDec").toInteger();
            c.conv.numDecGest = recs.LeggiCampo(eva.msAliasOrd, u"Monete.NumDecGest").toInteger();
            c.aliasMovDett = recs.Apri(*ggDbAzienda, gsNomeConn, alias::kMovDett,
                                       QStringLiteral("Select * from MovMagDettApp where Anno = -1"), false,
                                       dbOpenDynaset);
            if (LivelliGestiti(eva))
                c.aliasMovLiv = recs.Apri(*ggDbAzienda, gsNomeConn, alias::kMovLiv,
                                          QStringLiteral("Select * from MovMagLivApp where Anno = -1"), false,
                                          dbOpenDynaset);
            recs.MoveFirst(c.conv.aliasCursore);
            while (!recs.Eof(c.conv.aliasCursore) && !pbEsci) {
                evadoRiga(eva, c);
                recs.MoveNext(c.conv.aliasCursore);
            }
            if (!pbEsci)
                fineOrdine(eva, c, pbEsci);
        }
    } catch (const AppError &e) {
        if (c.conv.transazioneAperta) {
            try {
                AnnullaTransazione();
            } catch (const AppError &) {
                // The failure reported is the one that stopped the conversion.
            }
        }
        eva.AccodaErroreEva(e.number(), e.description());
        pbEsci = true;
    }
    chiudi(eva, c);
}
