// The level rows of a document line: quantity, price and amounts of each level, the row
// stored, and the line's totals raised.
#include "campiriga.h"
#include "importiriga.h"

#include "confrontaarrotondati.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <algorithm>

namespace {

struct ValoriLivello {
    double qta = 0;      // quantity of the level row
    double qtaProv = 0;  // the part taken from the order level
    Variant prezzo;
    double totale = 0, lire = 0, euro = 0;
    bool daScrivere = false;
};

bool Zero(double valore)
{
    return ConfrontaArrotondati(Variant(valore), Variant(0.0), -8) == 0;
}

// The level of the cursor's current row. Manual runs deliver the picked quantity, automatic
// ones what is left of the level; a level with nothing left gets no row (a level fulfilled
// before comes back with its line). The level's own amounts go only when it goes whole, taken
// entirely from the order; otherwise they are recomputed for the quantity delivered.
ValoriLivello CalcolaLivello(scEvaOrdVen &eva, const ConversioneRighe &c)
{
    GestRecordset &rs = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const double qtaLivello = UtilGenerali::ValoreNumerico(rs.ValoreCampo(cur, u"OrdVenLiv.Qta"));
    const double residuo = qtaLivello - UtilGenerali::ValoreNumerico(rs.ValoreCampo(cur, u"OrdVenLiv.QtaEvasa"));

    ValoriLivello v;
    if (eva.obEvasManule) {
        const Variant daEvadere = rs.ValoreCampo(cur, u"OrdVenEvaDett.QtaDaEva");
        v.qta = UtilGenerali::ValoreNumerico(daEvadere);
        v.qtaProv = std::max(0.0, UtilGenerali::ValoreNumerico(UtilGenerali::Minimo({Variant(residuo), daEvadere})));
        v.prezzo = rs.ValoreCampo(cur, eva.mbDaOrdAperto ? u"OrdVenEvaDett.ValUnitario" : u"OrdVenLiv.ValUnitario");
        const bool aSaldo = textEquals(rs.LeggiCampo(cur, u"OrdVenEvaDett.ASaldo").text(), u"S");
        v.daScrivere = !(aSaldo && Zero(v.qta));
    } else {
        v.daScrivere = ConfrontaArrotondati(Variant(residuo), Variant(0.0), -8) > 0;
        v.qta = v.qtaProv = v.daScrivere ? residuo : 0.0;
        v.prezzo = rs.ValoreCampo(cur, u"OrdVenLiv.ValUnitario");
    }

    const CambioRiga cambio = LeggiCambioRiga(eva);
    Variant lire, euro;
    if (PrendeImportiOrdine(v.qta, qtaLivello, eva.mbDaOrdAperto) &&
        PrendeImportiOrdine(v.qtaProv, qtaLivello, eva.mbDaOrdAperto)) {
        v.totale = UtilGenerali::ValoreNumerico(rs.ValoreCampo(cur, u"OrdVenLiv.ValTotale"));
        GemelliDaOrdine(v.totale, cambio, rs.ValoreCampo(cur, u"OrdVenLiv.ValLire"),
                        rs.ValoreCampo(cur, u"OrdVenLiv.ValEuro"), lire, euro);
    } else {
        // The line's discount: the document line carries the order line's ScontoTot as it is.
        v.totale = RicalcolaTotale(v.prezzo, v.qta, rs.LeggiCampo(cur, u"OrdVenDett.ScontoTot").text(),
                                   c.numDecGest, c.numDec);
        ConvertiTotale(v.totale, cambio, lire, euro);
    }
    v.lire = UtilGenerali::ValoreNumerico(lire);
    v.euro = UtilGenerali::ValoreNumerico(euro);
    return v;
}

void Somma(RigaInConversione &riga, double qta, double qtaProv, double totale, double lire, double euro)
{
    riga.livQta = qta;
    riga.livQtaProv = qtaProv;
    riga.livValLire = lire;
    riga.livValEuro = euro;
    riga.totQta += qta;
    riga.totQtaProv += qtaProv;
    riga.totValTotale += totale;
    riga.totValLire += lire;
    riga.totValEuro += euro;
}

} // namespace

void ScriviLivelloDocumento(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga)
{
    const ValoriLivello v = CalcolaLivello(eva, c);
    Somma(riga, v.qta, v.qtaProv, v.totale, v.lire, v.euro);
    // No row for a level closed to balance with nothing delivered, nor under a line that got
    // no document line of its own.
    if (!v.daScrivere || riga.rigLiv <= 0)
        return;

    GestRecordset &rs = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const QString &liv = c.aliasLivDoc;
    rs.AddNew(liv);
    try {
        rs.ScriviCampo(liv, u"Anno", Variant(eva.oiAnno));
        rs.ScriviCampo(liv, u"NumRif", Variant(c.numRifDoc));
        rs.ScriviCampo(liv, u"RigLiv", Variant(riga.rigLiv));
        rs.ScriviCampo(liv, u"Livello1", rs.ValoreCampo(cur, u"OrdVenLiv.Livello1"));
        rs.ScriviCampo(liv, u"Livello2", rs.ValoreCampo(cur, u"OrdVenLiv.Livello2"));
        rs.ScriviCampo(liv, u"RigLivOrig", rs.ValoreCampo(cur, u"OrdVenLiv.RigLiv"));
        rs.ScriviCampo(liv, u"UM", rs.ValoreCampo(cur, u"OrdVenLiv.UM"));
        rs.ScriviCampo(liv, u"FatCon", rs.ValoreCampo(cur, u"OrdVenLiv.FatCon"));
        rs.ScriviCampo(liv, u"Qta", Variant(v.qta));
        rs.ScriviCampo(liv, u"ValUnitario", v.prezzo);
        rs.ScriviCampo(liv, u"ValTotale", Variant(v.totale));
        rs.ScriviCampo(liv, u"FlagStato", Variant("0"));
        rs.ScriviCampo(liv, u"ValLire", Variant(v.lire));
        rs.ScriviCampo(liv, u"ValEuro", Variant(v.euro));
        rs.ScriviCampo(liv, u"QtaProv", Variant(v.qtaProv));
        rs.Update(liv);
    } catch (...) {
        rs.CancelUpdate(liv);
        throw;
    }
}

void SommaLivelloGiaScritto(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga)
{
    // The level was stored by the interrupted run: its row holds what it delivered. The order
    // level already counts it as fulfilled, so computing it again would find nothing left.
    GestRecordset &cursore = eva.mgRecs();
    GestRecordset rs;
    const QString alias = rs.Apri(
        *ggDbAzienda, gsNomeConn, QString(),
        QStringLiteral("Select * from ") + eva.msTabLiv + QStringLiteral(" Where Anno = ") +
            UtilGenerali::SqlValore(Variant(eva.oiAnno), 2) + QStringLiteral(" And NumRif = ") +
            UtilGenerali::SqlValore(Variant(c.numRifDoc), 3) + QStringLiteral(" And RigLiv = ") +
            UtilGenerali::SqlValore(Variant(riga.rigLiv), 3) + QStringLiteral(" And Livello1 = ") +
            UtilGenerali::SqlValore(cursore.ValoreCampo(c.aliasCursore, u"OrdVenLiv.Livello1"), 8) +
            QStringLiteral(" And Livello2 = ") +
            UtilGenerali::SqlValore(cursore.ValoreCampo(c.aliasCursore, u"OrdVenLiv.Livello2"), 8),
        false, dbOpenSnapshot);
    if (rs.NessunRecord(alias)) {
        Somma(riga, 0, 0, 0, 0, 0);
        return;
    }
    const auto numero = [&](QStringView campo) { return UtilGenerali::ValoreNumerico(rs.ValoreCampo(alias, campo)); };
    Somma(riga, numero(u"Qta"), numero(u"QtaProv"), numero(u"ValTotale"), numero(u"ValLire"), numero(u"ValEuro"));
}
