#include "ultimerighe.h"

#include "contesto.h"
#include "scevaordven.h"
#include "spesebanca.h"
#include "utilgenerali.h"

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

} // namespace

void CercaUltRigDetLiv(scEvaOrdVen &eva, int32_t &plRigDet, int32_t &plRigLiv, int32_t plNumRif)
{
    eva.msFase = QStringLiteral("Ricerca ultimo RigDet e RigLiv");
    GestRecordset &recs = eva.mgRecs();
    QString alias = recs.Apri(*ggDbAzienda, gsNomeConn, kAliasUltRighe, sqlUltimo(eva, plNumRif, QStringLiteral("RigDet")),
                              false, dbOpenSnapshot);
    plRigDet = recs.LeggiCampo(alias, u"Ultimo", 3).toLong();
    // The line with the highest RigDet need not hold the highest RigLiv.
    alias = recs.Apri(*ggDbAzienda, gsNomeConn, alias, sqlUltimo(eva, plNumRif, QStringLiteral("RigLiv")), false,
                      dbOpenSnapshot);
    plRigLiv = recs.LeggiCampo(alias, u"Ultimo", 3).toLong();
    recs.Chiudi(alias);
}

void CercaUltRigaSpese(scEvaOrdVen &eva, int32_t &plRiga, int32_t plNumRif)
{
    eva.msFase = QStringLiteral("Ricerca ultima Riga Spese");
    UltimaRigaSpese(eva.msTabSpese, eva.oiAnno, plNumRif, plRiga);
}
