// The variant levels of a cash-sale line: a movement level row per level, the order level's
// fulfilled quantity and state, and the line's movement row given the sum of its levels.
#include "corrispettivo.h"
#include "evasionedettagli.h"

#include "calcoli.h"
#include "comunirighe.h"
#include "confrontaarrotondati.h"
#include "contesto.h"
#include "scevaordven.h"
#include "scorporavaloririga.h"
#include "transazioni.h"
#include "utilgenerali.h"

#include <algorithm>
#include <optional>

namespace {

// The VAT of the line, taken out of the level values when the order's prices include it.
struct IvaRiga {
    bool scorpora = false;
    Variant aliquota;
};

// What one level moves, its values net of VAT.
struct LivelloDaMuovere {
    double qtaMov = 0;   // the movement row's quantity
    double qtaPresa = 0; // what the order level counts as taken
    double fatCon = 1;
    Variant unitario;
    ImportiMovimento netti;
};

// The level of the cursor row, or nothing when an automatic run finds nothing left of it (a
// level fulfilled or closed to balance before comes back with its line).
std::optional<LivelloDaMuovere> livelloDaMuovere(scEvaOrdVen &eva, const Corrispettivo &c, const IvaRiga &iva,
                                                 bool giaTrasferito)
{
    const GestRecordset &recs = eva.mgRecs();
    const QString &cur = c.conv.aliasCursore;
    const double aperta = Numero(recs, cur, u"OrdVenLiv.Qta") - Numero(recs, cur, u"OrdVenLiv.QtaEvasa");
    LivelloDaMuovere l;
    if (eva.obEvasManule) {
        const Variant daEvadere = recs.ValoreCampo(cur, u"OrdVenEvaDett.QtaDaEva");
        l.qtaMov = UtilGenerali::ValoreNumerico(daEvadere);
        l.qtaPresa = std::max(0.0, UtilGenerali::ValoreNumerico(UtilGenerali::Minimo({Variant(aperta), daEvadere})));
    } else {
        if (!giaTrasferito &&
            (LivelloChiuso(eva, recs, cur) || ConfrontaArrotondati(Variant(aperta), Variant(0.0), -8) <= 0))
            return std::nullopt;
        l.qtaMov = l.qtaPresa = aperta;
    }
    l.fatCon = Numero(recs, cur, u"OrdVenLiv.FatCon");
    if (l.fatCon <= 0)
        l.fatCon = 1;

    // The level's values follow the quantity moved, as the line's own do.
    const ImportiMovimento lordi = ImportiDaMuovere(eva, c, l.qtaMov, true);
    l.unitario = recs.ValoreCampo(cur, u"OrdVenLiv.ValUnitario");
    l.netti = lordi;
    if (iva.scorpora) {
        l.unitario = ScorporaIva(l.unitario, iva.aliquota, c.conv.numDecGest);
        l.netti.totale = ScorporaIva(Variant(lordi.totale), iva.aliquota, c.conv.numDec).toDouble();
        l.netti.lire = ScorporaIva(Variant(lordi.lire), iva.aliquota, giNumDecPrzLire).toDouble();
        l.netti.euro = ScorporaIva(Variant(lordi.euro), iva.aliquota, giNumDecPrzEuro).toDouble();
    }
    return l;
}

void scriviRigaLivello(scEvaOrdVen &eva, Corrispettivo &c, const LivelloDaMuovere &l)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &cur = c.conv.aliasCursore;
    const QString &liv = c.aliasMovLiv;
    recs.AddNew(liv);
    try {
        recs.ScriviCampo(liv, u"Anno", Variant(eva.miAnnoMov));
        recs.ScriviCampo(liv, u"NumReg", Variant(eva.mlNumRegMov));
        recs.ScriviCampo(liv, u"RigLiv", recs.ValoreCampo(cur, u"OrdVenLiv.RigLiv"));
        recs.ScriviCampo(liv, u"Livello1", recs.ValoreCampo(cur, u"OrdVenLiv.Livello1"));
        recs.ScriviCampo(liv, u"Livello2", recs.ValoreCampo(cur, u"OrdVenLiv.Livello2"));
        recs.ScriviCampo(liv, u"RigLivDoc", recs.ValoreCampo(cur, u"OrdVenLiv.RigLiv"));
        recs.ScriviCampo(liv, u"UM", recs.ValoreCampo(cur, u"OrdVenLiv.UM"));
        recs.ScriviCampo(liv, u"FatCon", Variant(l.fatCon));
        recs.ScriviCampo(liv, u"Qta", Variant(l.qtaMov));
        recs.ScriviCampo(liv, u"QtaAggMag", Variant(l.qtaMov * l.fatCon));
        recs.ScriviCampo(liv, u"ValUnitario", l.unitario);
        recs.ScriviCampo(liv, u"ValTotale", Variant(l.netti.totale));
        recs.ScriviCampo(liv, u"ValLire", Variant(l.netti.lire));
        recs.ScriviCampo(liv, u"ValEuro", Variant(l.netti.euro));
        recs.ScriviCampo(liv, u"FlagStato", Variant("0"));
        recs.Update(liv);
    } catch (...) {
        recs.CancelUpdate(liv);
        throw;
    }
}

// The sums of the line's levels, which its movement row takes over.
struct TotaliLivelli {
    double qtaMov = 0, qtaPresa = 0, qtaAggMag = 0;
    ImportiMovimento netti;

    void aggiungi(const LivelloDaMuovere &l)
    {
        qtaMov += l.qtaMov;
        qtaPresa += l.qtaPresa;
        qtaAggMag += l.qtaMov * l.fatCon;
        netti.totale += l.netti.totale;
        netti.lire += l.netti.lire;
        netti.euro += l.netti.euro;
    }
};

} // namespace

void EvadoLivelliCorrisp(scEvaOrdVen &eva, Corrispettivo &c, bool rigaPropria)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &cur = c.conv.aliasCursore;
    eva.msFase = QStringLiteral("Evasione dettagli: Creazione dettagli fattura: Creazione livello");
    const IvaRiga iva{IvaDaScorporare(Testo(recs, cur, u"TabIva.TipoIva"),
                                      Testo(recs, eva.msAliasOrd, u"OrdVenTest.PrezziIvati")),
                      recs.ValoreCampo(cur, u"TabIva.Aliquota")};
    TotaliLivelli totali;
    PerOgniLivello(recs, cur, [&] {
        // A level an interrupted run already transferred counts in the totals only.
        const bool giaTrasferito = c.conv.pbRipri && Flag(recs, cur, u"OrdVenLiv.FlagStato", u"D");
        const std::optional<LivelloDaMuovere> l = livelloDaMuovere(eva, c, iva, giaTrasferito);
        if (!l)
            return;
        totali.aggiungi(*l);
        if (giaTrasferito)
            return;
        IniziaTransazione();
        c.conv.transazioneAperta = true;
        // Under a line that moves no stock of its own (not a stock article) no level does.
        if (rigaPropria)
            scriviRigaLivello(eva, c, *l);
        if (!OrdineAperto(eva))
            AggiornaLivelloOrdine(eva, c.conv, cur, l->qtaPresa);
        ConfermaTransazione();
        c.conv.transazioneAperta = false;
    });

    if (!OrdineAperto(eva))
        ControllaDettaglioEvaso(eva, c.conv.aliasOrdDett, cur, totali.qtaPresa);
    if (rigaPropria) {
        const QString &mov = c.aliasMovDett;
        recs.Edit(mov);
        recs.ScriviCampo(mov, u"Qta", Variant(totali.qtaMov));
        recs.ScriviCampo(mov, u"ValTotale", Variant(totali.netti.totale));
        recs.ScriviCampo(mov, u"ValLire", Variant(totali.netti.lire));
        recs.ScriviCampo(mov, u"ValEuro", Variant(totali.netti.euro));
        recs.ScriviCampo(mov, u"QtaAggMag", Variant(totali.qtaAggMag));
        recs.Update(mov);
    }
    AzzeraMarcatoriRiga(eva, c.conv, cur, c.conv.aliasOrdDett);
}
