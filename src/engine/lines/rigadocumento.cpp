// One order line into one document line: the row is started, filled stage by stage and stored.
#include "campiriga.h"
#include "scritturariga.h"

#include "gestrecordset.h"
#include "parametri.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "transazioni.h"

#include <optional>

namespace {

// The document's print flag of a note from the order line's: "N"/"A" not printed, "S"/"E"
// printed ("S", or "A" unless the user's "NotaSoSotAttEEva" is "S"); anything else, nothing.
std::optional<Variant> StampaNota(const Variant &ordine)
{
    const QString v = ordine.text();
    if (textEquals(v, u"N") || textEquals(v, u"A"))
        return Variant("N");
    if (textEquals(v, u"S") || textEquals(v, u"E")) {
        const Variant attiva =
            LeggiParamPers(QStringLiteral("EvasioneOrd"), QStringLiteral("NotaSoSotAttEEva"), Variant(QString()));
        return Variant(textEquals(attiva.text(), u"S") ? "S" : "A");
    }
    return std::nullopt;
}

// VAT, account, commissions, provenance, contract, quantity taken, dimensions, personal
// descriptions; notes and their print flags; competence, cost centre and flags.
void ScriviProvenienzaENote(scEvaOrdVen &eva, const ConversioneRighe &c, const RigaInConversione &riga,
                            const ColliRiga &colli)
{
    GestRecordset &rs = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const QString &doc = c.aliasDettDoc;
    const bool fattura = textEquals(eva.osDocEvaTipo, u"F");
    const auto daOrdine = [&](const QString &campo) { return rs.ValoreCampo(cur, QStringLiteral("OrdVenDett.") + campo); };
    const auto copia = [&](const QString &campo) { rs.ScriviCampo(doc, campo, daOrdine(campo)); };

    for (const char *campo : {"Iva", "GruppoVen", "MastroVen", "ContoVen", "Omaggio", "PercProvv1", "PercProvv2"})
        copia(QString::fromLatin1(campo));
    rs.ScriviCampo(doc, u"TipoProv", Variant("O"));
    rs.ScriviCampo(doc, u"FattDocumentoProv", rs.ValoreCampo(eva.msAliasOrd, u"OrdVenTest.FattDocumento"));
    rs.ScriviCampo(doc, u"AnnoRifProv", daOrdine(QStringLiteral("Anno")));
    rs.ScriviCampo(doc, u"NumRifProv", daOrdine(QStringLiteral("NumRif")));
    rs.ScriviCampo(doc, u"RigaRifProv", daOrdine(QStringLiteral("RigLiv")));
    if (fattura) {
        rs.ScriviCampo(doc, u"OrdAnno", daOrdine(QStringLiteral("Anno")));
        rs.ScriviCampo(doc, u"OrdNumRif", daOrdine(QStringLiteral("NumRif")));
        rs.ScriviCampo(doc, u"OrdRigDet", daOrdine(QStringLiteral("RigLiv")));
    }
    rs.ScriviCampo(doc, u"Contratto", rs.ValoreCampo(eva.msAliasOrd, u"OrdVenTest.Contratto"));
    rs.ScriviCampo(doc, u"QtaProv", Variant(riga.qtaProv));
    for (const char *campo : {"Lunghezza", "Larghezza", "Altezza"})
        copia(QString::fromLatin1(campo));
    for (int i = 1; i <= 10; ++i)
        copia(QStringLiteral("DescPers") + QString::number(i));
    if (fattura)
        rs.ScriviCampo(doc, u"Riepilogativa", Variant("N"));

    for (const char *campo : {"NotaSopraStamp", "NotaSottoStamp"}) {
        const QString nome = QString::fromLatin1(campo);
        if (const auto stampa = StampaNota(daOrdine(nome)))
            rs.ScriviCampo(doc, nome, *stampa);
    }
    copia(QStringLiteral("NotaSopra"));
    rs.ScriviCampo(doc, u"NotaSotto", colli.dimensioni ? colli.nota : daOrdine(QStringLiteral("NotaSotto")));
    copia(QStringLiteral("CompGiornMens"));
    ImpostaCampo(rs, doc, QStringLiteral("DataCompDa"), daOrdine(QStringLiteral("DataCompDa")));
    ImpostaCampo(rs, doc, QStringLiteral("DataCompA"), daOrdine(QStringLiteral("DataCompA")));
    copia(QStringLiteral("CentroDiCosto"));
    rs.ScriviCampo(doc, u"BeneUsato", rs.ValoreCampo(cur, u"BeneUsato"));
    copia(QStringLiteral("SoggRitAcc"));
}

} // namespace

void ScriviRigaDocumento(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga)
{
    GestRecordset &rs = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const QString &doc = c.aliasDettDoc;

    rs.AddNew(doc);
    try {
        const ColliRiga colli = ScriviIdentitaRiga(eva, c, riga);
        ScriviImportiRiga(eva, c, riga);
        ScriviProvenienzaENote(eva, c, riga, colli);
        CollegaRaee(eva, c, rs.LeggiCampo(cur, u"OrdVenDett.RigLiv").toLong(),
                    rs.LeggiCampo(cur, u"OrdVenDett.RigLivRAEE").toLong(), riga.rigLiv);
        if (textEquals(eva.osDocEvaTipo, u"F") && textEquals(rs.LeggiCampo(cur, u"OrdVenDett.TipoRiga").text(), u"D"))
            rs.ScriviCampo(doc, u"DescPers1", Variant(c.ordXmlGen));
        rs.Update(doc);
    } catch (...) {
        // The row never stored must not stay pending for the next line.
        rs.CancelUpdate(doc);
        throw;
    }
    rs.VaiUltimoModificato(doc);
    c.ultimoRigDet = riga.rigDet;
    c.ultimoRigLiv = riga.rigLiv;
}
