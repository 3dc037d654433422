#include "scritturariga.h"

#include "gestrecordset.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

// Where the long description is printed: the order line's own placement, or, when the user
// takes it from the documents, the target type's (the order type's fulfilment type's when the
// run names no target type) unless that one is above 2.
Variant DoveStampoDesLung(scEvaOrdVen &eva, const Variant &propria)
{
    if (!eva.mbStDesLunDaDoc)
        return propria;
    const Variant fonte = eva.osTipoDocEva.trimmed().isEmpty()
                              ? eva.mgRecs().ValoreCampo(eva.msAliasOrd, u"Doc2DoveDesLung")
                              : Variant(eva.osDoveDesLunga);
    const Variant v = UtilGenerali::ValoreNonNullo(fonte, true, true);
    const auto confronto = Variant::compare(v, Variant(int16_t(2)));
    return confronto && *confronto > 0 ? propria : v;
}

} // namespace

ColliRiga ScriviIdentitaRiga(scEvaOrdVen &eva, const ConversioneRighe &c, const RigaInConversione &riga)
{
    GestRecordset &rs = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const QString &doc = c.aliasDettDoc;
    const auto copia = [&](const QString &campo) {
        rs.ScriviCampo(doc, campo, rs.ValoreCampo(cur, QStringLiteral("OrdVenDett.") + campo));
    };

    rs.ScriviCampo(doc, u"Anno", Variant(eva.oiAnno));
    rs.ScriviCampo(doc, u"NumRif", Variant(c.numRifDoc));
    rs.ScriviCampo(doc, u"RigDet", Variant(riga.rigDet));
    rs.ScriviCampo(doc, u"RigLiv", Variant(riga.rigLiv));

    copia(QStringLiteral("TipoRiga"));
    copia(QStringLiteral("FormatoRiga"));
    copia(QStringLiteral("Articolo"));
    copia(QStringLiteral("Descrizione"));
    rs.ScriviCampo(doc, u"DoveStampoDesLung",
                   DoveStampoDesLung(eva, rs.ValoreCampo(cur, u"OrdVenDett.DoveStampoDesLung")));

    copia(QStringLiteral("UM"));
    const bool descrittiva = textEquals(rs.LeggiCampo(cur, u"OrdVenDett.TipoRiga").text(), u"D");
    rs.ScriviCampo(doc, u"Qta", descrittiva ? Variant::null() : Variant(riga.qtaDaEvadere));
    copia(QStringLiteral("FatCon"));

    DatiColli d;
    d.colli = rs.LeggiCampo(cur, u"OrdVenDett.Colli").toInteger();
    d.qta = riga.qtaDaEvadere;
    d.qtaOrdinata = riga.qtaOrdinata;
    d.um = rs.LeggiCampo(cur, u"OrdVenDett.UM").text();
    d.lunghezza = rs.ValoreCampo(cur, u"OrdVenDett.Lunghezza");
    d.larghezza = rs.ValoreCampo(cur, u"OrdVenDett.Larghezza");
    d.altezza = rs.ValoreCampo(cur, u"OrdVenDett.Altezza");
    d.notaSotto = rs.ValoreCampo(cur, u"OrdVenDett.NotaSotto");
    // An article without a master row has no pieces per pack: the delivered share decides.
    d.pezziPerConf = UtilGenerali::ValoreLong(rs.ValoreCampo(cur, u"Articoli.PezziPerConf"));
    const ColliRiga colli = CalcolaColli(d, ImpostazioniColliDa(eva));
    rs.ScriviCampo(doc, u"Colli", Variant(colli.colli));
    return colli;
}
