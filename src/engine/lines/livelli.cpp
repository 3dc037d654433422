#include "campiriga.h"
#include "connessionedb.h"
#include "contesto.h"
#include "evasionedettagli.h"
#include "comunirighe.h"
#include "scevaordven.h"
#include "statoriga.h"
#include "transazioni.h"
#include "utilgenerali.h"

namespace {

// The order level of the cursor row: the quantity taken added, its state, "D" as transferred;
// then its committed quantities released.
void aggiornaLivelloOrdine(scEvaOrdVen &eva, ConversioneRighe &c, const RigaInConversione &riga)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const QString liv = recs.Apri(*ggDbAzienda, gsNomeConn, alias::kOrdLiv, eva.PrepSqlRilettOrdDettLiv(cur), false,
                                  dbOpenDynaset);
    const double prima = ScriviEvaso(recs, liv, QStringLiteral("OrdVenLiv"), cur, riga.livQtaProv);
    recs.ScriviCampo(liv, u"FlagStato", Variant(QStringLiteral("D")));
    recs.Update(liv);
    recs.Chiudi(liv);

    // The order level's own values: they are those of its whole ordered quantity, of which the
    // release takes the share delivered.
    ImpegnoDaRilasciare i = ImpegnoDelCursore(recs, cur, true);
    i.qtaEvasa = prima + riga.livQtaProv;
    i.qtaEvasaPrec = prima;
    i.qtaMov = riga.livQtaProv;
    RilasciaImpegni(eva, cur, i);
}

// A level picked only to be closed, with nothing to deliver.
bool soloChiusura(scEvaOrdVen &eva, const QString &cur)
{
    const GestRecordset &recs = eva.mgRecs();
    return eva.obEvasManule && Flag(recs, cur, u"OrdVenEvaDett.ASaldo", u"S") &&
           QtaZero(recs.ValoreCampo(cur, u"OrdVenEvaDett.QtaDaEva"));
}

void trasferisciLivello(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga, bool rigaPropria)
{
    IniziaTransazione();
    c.transazioneAperta = true;
    riga.livQta = 0;
    riga.livQtaProv = 0;
    // A line without a document row of its own is one whose levels are all only closed.
    if (rigaPropria && !soloChiusura(eva, c.aliasCursore))
        ScriviLivelloDocumento(eva, c, riga);
    if (!OrdineAperto(eva))
        aggiornaLivelloOrdine(eva, c, riga);
    ConfermaTransazione();
    c.transazioneAperta = false;
}

} // namespace

void EvadoLivelliRiga(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga, bool rigaPropria)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    eva.msFase = QStringLiteral("Evasione dettagli: Creazione dettagli fattura: Creazione livello");
    riga.totQta = riga.totQtaProv = riga.totValTotale = riga.totValLire = riga.totValEuro = 0;
    PerOgniLivello(recs, cur, [&] {
        if (c.pbRipri && Flag(recs, cur, u"OrdVenLiv.FlagStato", u"D"))
            SommaLivelloGiaScritto(eva, c, riga);
        else
            trasferisciLivello(eva, c, riga, rigaPropria);
    });

    if (!OrdineAperto(eva))
        ControllaDettaglioEvaso(eva, c.aliasOrdDett, cur, riga.totQtaProv);
    if (rigaPropria) {
        const QString &doc = c.aliasDettDoc;
        recs.Edit(doc);
        recs.ScriviCampo(doc, u"Qta", Variant(riga.totQta));
        recs.ScriviCampo(doc, u"QtaProv", Variant(riga.totQtaProv));
        recs.ScriviCampo(doc, u"ValTotale", Variant(riga.totValTotale));
        recs.ScriviCampo(doc, u"ValLire", Variant(riga.totValLire));
        recs.ScriviCampo(doc, u"ValEuro", Variant(riga.totValEuro));
        recs.Update(doc);
    }
    ggDbAzienda->Esegui(gsNomeConn,
                        QStringLiteral("update OrdVenLiv") + QStringLiteral(" Set OrdVenLiv.FlagStato = ") +
                            UtilGenerali::SqlValore(Variant(QStringLiteral("0")), 8) + QStringLiteral(" WHERE") +
                            QStringLiteral(" OrdVenLiv.Anno=") +
                            UtilGenerali::SqlValore(recs.LeggiCampo(cur, u"OrdVenDett.Anno"), 2) +
                            QStringLiteral(" AND OrdVenLiv.NumRif=") +
                            UtilGenerali::SqlValore(recs.LeggiCampo(cur, u"OrdVenDett.NumRif"), 3) +
                            QStringLiteral(" AND OrdVenLiv.RigLiv=") +
                            UtilGenerali::SqlValore(recs.LeggiCampo(cur, u"OrdVenLiv.RigLiv"), 3));
    const QString &ord = c.aliasOrdDett;
    recs.Edit(ord);
    recs.ScriviCampo(ord, u"FlagStato", Variant(QStringLiteral("0")));
    recs.Update(ord);
}
