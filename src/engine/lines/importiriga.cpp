#include "importiriga.h"
#include "scritturariga.h"

#include "calcoli.h"
#include "confrontaarrotondati.h"
#include "contesto.h"
#include "conversionieuro.h"
#include "gestrecordset.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"

bool CambioRiga::diversi() const
{
    const auto c = Variant::compare(cambioOrdine, cambioDocumento);
    return c.has_value() && *c != 0;
}

CambioRiga LeggiCambioRiga(scEvaOrdVen &eva)
{
    GestRecordset &rs = eva.mgRecs();
    CambioRiga c;
    c.cambioDocumento = rs.ValoreCampo(eva.msAliasTesDoc, eva.msTabTesta + QStringLiteral(".Cambio"));
    c.cambioOrdine = rs.ValoreCampo(eva.msAliasOrd, u"OrdVenTest.Cambio");
    c.operatore = rs.LeggiCampo(eva.msAliasOrd, u"Monete.Operatore").text();
    c.moneta = rs.ValoreCampo(eva.msAliasOrd, u"Monete.Moneta");
    return c;
}

bool PrendeImportiOrdine(double qta, double qtaOrdinata, bool daOrdAperto)
{
    return !daOrdAperto && ConfrontaArrotondati(Variant(qta), Variant(qtaOrdinata), -8) == 0;
}

double RicalcolaTotale(const Variant &prezzo, double qta, const QString &scontoTot, int16_t numDecGest,
                       int16_t numDec)
{
    const Variant sconto = CalcScontoComposto(scontoTot, nullptr, 0.0, 6);
    const Variant importo = CalcImportoRiga(prezzo, Variant(qta), sconto, gbArrUnitIntermedio, numDecGest);
    return UtilGenerali::ArrotondaValore(importo, QStringLiteral("A"), 1.0, -numDec);
}

void ConvertiTotale(double totale, const CambioRiga &cambio, Variant &valLire, Variant &valEuro)
{
    // Lire and euro decimals are the company's; the document's rate and the currency's operator
    // take a third currency to euro.
    ConvertiValute(Variant(totale), cambio.cambioDocumento, cambio.operatore, cambio.moneta, &valLire, &valEuro,
                   nullptr, true, true, true, std::nullopt, std::nullopt, std::nullopt, false, false,
                   QStringLiteral("E"), QStringLiteral("E"), 0);
}

void GemelliDaOrdine(double totale, const CambioRiga &cambio, const Variant &lireOrdine, const Variant &euroOrdine,
                     Variant &valLire, Variant &valEuro)
{
    if (cambio.diversi()) {
        ConvertiTotale(totale, cambio, valLire, valEuro);
        return;
    }
    valLire = Variant(UtilGenerali::ValoreNumerico(lireOrdine));
    valEuro = Variant(UtilGenerali::ValoreNumerico(euroOrdine));
}

void ScriviImportiRiga(scEvaOrdVen &eva, const ConversioneRighe &c, const RigaInConversione &riga)
{
    GestRecordset &rs = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const QString &doc = c.aliasDettDoc;
    const bool descrittiva = textEquals(rs.LeggiCampo(cur, u"OrdVenDett.TipoRiga").text(), u"D");

    Variant prezzo = Variant::null();
    if (!descrittiva)
        prezzo = rs.ValoreCampo(cur, eva.mbDaOrdAperto ? u"OrdVenEvaDett.ValUnitario" : u"OrdVenDett.ValUnitario");
    rs.ScriviCampo(doc, u"ValUnitario", prezzo);
    for (const char16_t *campo : {u"ScontoTab", u"ScontoCli", u"ScontoArt", u"ScontoQuant", u"ScontoTot",
                                  u"FlScontoPag", u"Promozione"})
        rs.ScriviCampo(doc, campo, rs.ValoreCampo(cur, QStringLiteral("OrdVenDett.") + QString::fromUtf16(campo)));

    const CambioRiga cambio = LeggiCambioRiga(eva);
    Variant valTotale = Variant::null(), valLire, valEuro;
    if (PrendeImportiOrdine(riga.qtaDaEvadere, riga.qtaOrdinata, eva.mbDaOrdAperto)) {
        if (descrittiva) {
            // A description line has no total: its twins go as the order holds them.
            valLire = rs.ValoreCampo(cur, u"OrdVenDett.ValLire");
            valEuro = rs.ValoreCampo(cur, u"OrdVenDett.ValEuro");
        } else {
            const double totale = UtilGenerali::ValoreNumerico(rs.ValoreCampo(cur, u"OrdVenDett.ValTotale"));
            valTotale = Variant(totale);
            GemelliDaOrdine(totale, cambio, rs.ValoreCampo(cur, u"OrdVenDett.ValLire"),
                            rs.ValoreCampo(cur, u"OrdVenDett.ValEuro"), valLire, valEuro);
        }
    } else {
        const double totale = RicalcolaTotale(rs.ValoreCampo(doc, u"ValUnitario"), riga.qtaDaEvadere,
                                              rs.ValoreCampo(doc, u"ScontoTot").text(), c.numDecGest, c.numDec);
        ConvertiTotale(totale, cambio, valLire, valEuro);
        if (!descrittiva)
            valTotale = Variant(totale);
    }
    rs.ScriviCampo(doc, u"ValTotale", valTotale);
    rs.ScriviCampo(doc, u"ValLire", valLire);
    rs.ScriviCampo(doc, u"ValEuro", valEuro);
}
