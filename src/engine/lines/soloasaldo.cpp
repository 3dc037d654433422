#include "apperror.h"
#include "blocchi.h"
#include "contesto.h"
#include "evasionedettagli.h"
#include "comunirighe.h"
#include "menuclient.h"
#include "scevaordven.h"
#include "transazioni.h"
#include "utilgenerali.h"

namespace {

// The order's lock, held by the run, given the stage of the closing. A stage that cannot be
// written is an error of the closing: "6" must be stored with the states it stands for.
void stadioBlocco(scEvaOrdVen &eva, const QString &stadio)
{
    QString utente, gestione, varie, statoLock;
    const int16_t esito = BloccaRecord(stadio, QString(), 0, 0, false, false, eva.msAliasLockOrd, QString(), utente,
                                       gestione, varie, false, QString(), 0, 0, 0, statoLock)
                              .toInteger();
    if (esito != EsitoBlocco::Preso) {
        const ErroreBlocco &e = UltimoErroreBlocco();
        throw AppError(e.numero ? e.numero : 3146, e.descrizione, QStringLiteral("EvadeDettSoloASaldo"));
    }
}

// The flag that releases what a closed line still commits. A manual run's picking stages it
// per line; a balance-only run without picking closes every selected line to balance, and has
// no staging to read it from.
QString chiusaASaldo(const scEvaOrdVen &eva)
{
    return eva.obEvasManule ? QString() : QStringLiteral("S");
}

// The cursor's levels of the current line closed, each with its committed quantity released.
// A level closed before has nothing left: closing it again would release its commitment twice.
void chiudiLivelli(scEvaOrdVen &eva, const QString &cur)
{
    GestRecordset &recs = eva.mgRecs();
    PerOgniLivello(recs, cur, [&] {
        if (Flag(recs, cur, u"OrdVenLiv.StatoRiga", u"E"))
            return;
        const QString liv = recs.Apri(*ggDbAzienda, gsNomeConn, alias::kOrdLiv, eva.PrepSqlRilettOrdDettLiv(cur),
                                      false, dbOpenDynaset);
        const double prima = Numero(recs, liv, u"OrdVenLiv.QtaEvasa");
        recs.Edit(liv);
        recs.ScriviCampo(liv, u"StatoRiga", Variant(QStringLiteral("E")));
        recs.Update(liv);
        ImpegnoDaRilasciare i = ImpegnoDelCursore(recs, cur, true);
        i.qtaEvasa = Numero(recs, cur, u"OrdVenLiv.QtaEvasa");
        i.qtaEvasaPrec = prima;
        i.aSaldo = chiusaASaldo(eva);
        RilasciaImpegni(eva, cur, i);
    });
}

void chiudiRiga(scEvaOrdVen &eva, const QString &cur)
{
    GestRecordset &recs = eva.mgRecs();
    const bool conLivelli = RigaConLivelli(eva, cur);
    if (conLivelli)
        chiudiLivelli(eva, cur);
    const QString ord = recs.Apri(*ggDbAzienda, gsNomeConn, alias::kOrdDett, eva.PrepSqlRilettOrdDett(cur), false,
                                  dbOpenDynaset);
    const double prima = Numero(recs, ord, u"OrdVenDett.QtaEvasa");
    recs.Edit(ord);
    recs.ScriviCampo(ord, u"StatoRiga", Variant(QStringLiteral("E")));
    recs.Update(ord);
    if (!conLivelli) {
        ImpegnoDaRilasciare i = ImpegnoDelCursore(recs, cur, false);
        i.qtaEvasa = Numero(recs, cur, u"OrdVenDett.QtaEvasa");
        i.qtaEvasaPrec = prima;
        i.aSaldo = chiusaASaldo(eva);
        RilasciaImpegni(eva, cur, i);
    }
    // A level of the line left out of the picking keeps the line open.
    ControllaDettaglioEvaso(eva, ord, cur, 0);
    recs.Chiudi(ord);
}

} // namespace

void EvadeDettSoloASaldo(scEvaOrdVen &eva, bool &pbEsci)
{
    if (OrdineAperto(eva))
        return;
    bool transazioneAperta = false;
    try {
        eva.msFase = QStringLiteral("Evasione dettagli solo a saldo");
        const QString sql = eva.PrepSqlDett(0, false);
        eva.msFase = QStringLiteral("Evasione dettagli: preparazione dei recordset della fattura");
        GestRecordset &recs = eva.mgRecs();
        const QString cur = recs.Apri(*ggDbAzienda, gsNomeConn, alias::kSoloASaldo, sql, false, dbOpenDynaset);
        if (!recs.NessunRecord(cur)) {
            stadioBlocco(eva, QStringLiteral("5"));
            IniziaTransazione();
            transazioneAperta = true;
            for (recs.MoveFirst(cur); !recs.Eof(cur) && !pbEsci; recs.MoveNext(cur)) {
                eva.msFase = QStringLiteral("Evasione dettagli: Evasione dei dettagli Solo a Saldo");
                // An automatic order with nothing to deliver closes its article lines only: its
                // description lines stay as they are for a later delivery.
                if (eva.obEvasManule || eva.obSoloASaldo || RigaArticolo(Testo(recs, cur, u"OrdVenDett.TipoRiga")))
                    chiudiRiga(eva, cur);
            }
            stadioBlocco(eva, QStringLiteral("6"));
            ConfermaTransazione();
            transazioneAperta = false;
        }
    } catch (const AppError &e) {
        if (transazioneAperta) {
            try {
                AnnullaTransazione();
            } catch (const AppError &) {
                // The failure reported is the one that stopped the closing.
            }
        }
        eva.AccodaErroreEva(e.number(), e.description());
        pbEsci = true;
    }
    eva.mgRecs().Chiudi(alias::kOrdDett);
    eva.mgRecs().Chiudi(alias::kOrdLiv);
}

namespace {

// Automatic runs: none of the order's selected article lines has anything left to deliver. The
// rows stay open for the order's data check, which looks at the same ones next.
bool ordineSenzaConsegne(scEvaOrdVen &eva)
{
    GestRecordset &recs = eva.mgRecs();
    const QString cur = RigheDaControllare(eva, false);
    bool niente = true;
    for (; !recs.Eof(cur) && niente; recs.MoveNext(cur))
        niente = !RigaArticolo(Testo(recs, cur, u"OrdVenDett.TipoRiga")) || NienteDaConsegnare(eva, cur);
    eva.msRigheControllo = SqlRigheControllo(eva, false);
    return niente;
}

} // namespace

bool OrdineSoloASaldo(scEvaOrdVen &eva)
{
    if (!eva.obEvasManule)
        return ordineSenzaConsegne(eva);
    if (eva.obEvACorrisp)
        return false;
    GestRecordset &recs = eva.mgRecs();
    const QString sql =
        QStringLiteral("Select QtaDaEva from OrdVenEvaDett") + QStringLiteral(" Where Utente = ") +
        UtilGenerali::SqlValore(Variant(ggMenuClient->NomeUtente()), 8) + QStringLiteral(" AND Anno = ") +
        UtilGenerali::SqlValore(recs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.Anno"), 2) +
        QStringLiteral(" AND NumRif = ") + UtilGenerali::SqlValore(recs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.NumRif"), 3);
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenSnapshot);
    bool nessunaQta = true;
    for (; !rs.Eof(a) && nessunaQta; rs.MoveNext(a))
        nessunaQta = QtaZero(rs.ValoreCampo(a, u"QtaDaEva"));
    rs.Chiudi(a);
    return nessunaQta;
}
