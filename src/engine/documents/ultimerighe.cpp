#include "ultimerighe.h"

#include "contesto.h"
#include "scevaordven.h"
#include "spesebanca.h"
#include "utilgenerali.h"

#include <algorithm>

namespace {

const QString kAliasUltRighe = QStringLiteral("UltRigDetLiv");

// The highest value of a key field of the document's lines, Null when it has none: one
// aggregate a statement, which the engine reads off the end of an index.
QString sqlUltimo(const scEvaOrdVen &eva, int32_t plNumRif, const QString &campo)
{
    return QStringLiteral("Select Max(") + campo + QStringLiteral(") AS Ultimo from ") + eva.msTabDett +
           QStringLiteral(" where anno = ") + UtilGenerali::SqlValore(Variant(eva.oiAnno), 2) +
           QStringLiteral(" AND NumRif = ") + UtilGenerali::SqlValore(Variant(plNumRif), 3);
}

// What the run knows of the document, null when it must read it: nothing known, or known before
// a rollback that may have undone the lines it counts.
scEvaOrdVen::UltimeRighe *note(scEvaOrdVen &eva, int32_t plNumRif)
{
    const auto it = eva.mUltimeRighe.find({eva.oiAnno, plNumRif});
    if (it == eva.mUltimeRighe.end() || it->second.tabella != eva.msTabDett ||
        it->second.annullamenti != ggDbAzienda->Annullamenti(gsNomeConn))
        return nullptr;
    return &it->second;
}

} // namespace

void CercaUltRigDetLiv(scEvaOrdVen &eva, int32_t &plRigDet, int32_t &plRigLiv, int32_t plNumRif)
{
    eva.msFase = QStringLiteral("Ricerca ultimo RigDet e RigLiv");
    if (const scEvaOrdVen::UltimeRighe *n = note(eva, plNumRif)) {
        plRigDet = n->rigDet;
        plRigLiv = n->rigLiv;
        return;
    }
    const uint64_t annullamenti = ggDbAzienda->Annullamenti(gsNomeConn);
    GestRecordset &recs = eva.mgRecs();
    QString alias = recs.Apri(*ggDbAzienda, gsNomeConn, kAliasUltRighe, sqlUltimo(eva, plNumRif, QStringLiteral("RigDet")),
                              false, dbOpenSnapshot);
    plRigDet = recs.LeggiCampo(alias, u"Ultimo", 3).toLong();
    // The line with the highest RigDet need not hold the highest RigLiv.
    alias = recs.Apri(*ggDbAzienda, gsNomeConn, alias, sqlUltimo(eva, plNumRif, QStringLiteral("RigLiv")), false,
                      dbOpenSnapshot);
    plRigLiv = recs.LeggiCampo(alias, u"Ultimo", 3).toLong();
    recs.Chiudi(alias);
    eva.mUltimeRighe[{eva.oiAnno, plNumRif}] = {eva.msTabDett, plRigDet, plRigLiv, annullamenti};
}

void AnnotaRigaScritta(scEvaOrdVen &eva, int32_t plNumRif, int32_t plRigDet, int32_t plRigLiv)
{
    scEvaOrdVen::UltimeRighe *n = note(eva, plNumRif);
    if (!n) {
        DimenticaUltimeRighe(eva, plNumRif);
        return;
    }
    n->rigDet = std::max(n->rigDet, plRigDet);
    n->rigLiv = std::max(n->rigLiv, plRigLiv);
}

void DimenticaUltimeRighe(scEvaOrdVen &eva, int32_t plNumRif)
{
    eva.mUltimeRighe.erase({eva.oiAnno, plNumRif});
}

void CercaUltRigaSpese(scEvaOrdVen &eva, int32_t &plRiga, int32_t plNumRif)
{
    eva.msFase = QStringLiteral("Ricerca ultima Riga Spese");
    UltimaRigaSpese(eva.msTabSpese, eva.oiAnno, plNumRif, plRiga);
}
