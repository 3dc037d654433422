#include "statoriga.h"

#include "campiriga.h"
#include "connessionedb.h"
#include "contesto.h"
#include "evasionedettagli.h"
#include "comunirighe.h"
#include "scevaordven.h"
#include "transazioni.h"
#include "utilgenerali.h"

void ScriviStatoRiga(scEvaOrdVen &eva, ConversioneRighe &c, const RigaInConversione &riga)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const QString &ord = c.aliasOrdDett;
    const bool conLivelli = RigaConLivelli(eva, cur);
    if (RigaArticolo(Testo(recs, cur, u"OrdVenDett.TipoRiga")) && !OrdineAperto(eva) && !conLivelli) {
        const double prima = ScriviEvaso(recs, ord, QStringLiteral("OrdVenDett"), cur, riga.qtaProv);
        recs.Update(ord);
        ImpegnoDaRilasciare i = ImpegnoDelCursore(recs, cur, false);
        i.qtaEvasa = prima + riga.qtaProv;
        i.qtaEvasaPrec = prima;
        i.qtaMov = riga.qtaProv;
        RilasciaImpegni(eva, cur, i);
    }
    recs.Edit(ord);
    recs.ScriviCampo(ord, u"FlagStato", Variant(conLivelli ? QStringLiteral("B") : QStringLiteral("0")));
    recs.Update(ord);
    ConfermaTransazione();
    c.transazioneAperta = false;
}

void ControllaDettaglioEvaso(scEvaOrdVen &eva, const QString &psROrdDetAgg, const QString &psROrdDet,
                             double pdTotQtaEvaDet)
{
    if (OrdineAperto(eva))
        return;
    GestRecordset &recs = eva.mgRecs();
    if (!RigaArticolo(Testo(recs, psROrdDet, u"OrdVenDett.TipoRiga")))
        return;
    QString stato = QStringLiteral("P");
    if (!eva.obEvasManule) {
        stato = QStringLiteral("E");
    } else {
        const QString sql =
            QStringLiteral("SELECT *") + QStringLiteral(" From OrdVenLiv") + QStringLiteral(" WHERE") +
            QStringLiteral(" OrdVenLiv.Anno=") + UtilGenerali::SqlValore(recs.LeggiCampo(psROrdDet, u"OrdVenDett.Anno"), 2) +
            QStringLiteral(" AND OrdVenLiv.NumRif=") +
            UtilGenerali::SqlValore(recs.LeggiCampo(psROrdDet, u"OrdVenDett.NumRif"), 3) +
            QStringLiteral(" AND OrdVenLiv.RigLiv=") +
            UtilGenerali::SqlValore(recs.LeggiCampo(psROrdDet, u"OrdVenDett.RigLiv"), 3) +
            QStringLiteral(" AND (Ordvenliv.StatoRiga<>") + UtilGenerali::SqlValore(Variant(QStringLiteral("E")), 8) +
            QStringLiteral(" OR Ordvenliv.StatoRiga Is Null)");
        const QString aperti = recs.Apri(*ggDbAzienda, gsNomeConn, alias::kLivAperti, sql, false, dbOpenSnapshot);
        if (recs.NessunRecord(aperti))
            stato = QStringLiteral("E");
        recs.Chiudi(aperti);
    }
    recs.Edit(psROrdDetAgg);
    recs.ScriviCampo(psROrdDetAgg, u"QtaEvasa", Variant(Numero(recs, psROrdDetAgg, u"OrdVenDett.QtaEvasa") + pdTotQtaEvaDet));
    recs.ScriviCampo(psROrdDetAgg, u"StatoRiga", Variant(stato));
    recs.Update(psROrdDetAgg);
}
