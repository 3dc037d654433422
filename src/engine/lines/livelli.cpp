#include "campiriga.h"
#include "evasionedettagli.h"
#include "comunirighe.h"
#include "scevaordven.h"
#include "statoriga.h"
#include "transazioni.h"

namespace {

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
        AggiornaLivelloOrdine(eva, c, c.aliasCursore, riga.livQtaProv);
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
        else if (!LivelloChiuso(eva, recs, cur))
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
    AzzeraMarcatoriRiga(eva, c, cur, c.aliasOrdDett);
}
