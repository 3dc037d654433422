#include "ultimerighe.h"

#include "contesto.h"
#include "scevaordven.h"
#include "spesebanca.h"
#include "utilgenerali.h"

namespace {

const QString kAliasUltRighe = QStringLiteral("UltRigDetLiv");

// The highest RigDet and RigLiv of the document's lines in one read (the line with the highest
// RigDet need not hold the highest RigLiv); Null for both when it has none.
QString sqlUltimeRighe(const scEvaOrdVen &eva, int32_t plNumRif)
{
    return QStringLiteral("Select Max(RigDet) AS UltRigDet, Max(RigLiv) AS UltRigLiv from ") + eva.msTabDett +
           QStringLiteral(" where anno = ") + UtilGenerali::SqlValore(Variant(eva.oiAnno), 2) +
           QStringLiteral(" AND NumRif = ") + UtilGenerali::SqlValore(Variant(plNumRif), 3);
}

} // namespace

void CercaUltRigDetLiv(scEvaOrdVen &eva, int32_t &plRigDet, int32_t &plRigLiv, int32_t plNumRif)
{
    eva.msFase = QStringLiteral("Ricerca ultimo RigDet e RigLiv");
    GestRecordset &recs = eva.mgRecs();
    const QString alias = recs.Apri(*ggDbAzienda, gsNomeConn, kAliasUltRighe, sqlUltimeRighe(eva, plNumRif), false,
                                    dbOpenSnapshot);
    plRigDet = recs.LeggiCampo(alias, u"UltRigDet", 3).toLong();
    plRigLiv = recs.LeggiCampo(alias, u"UltRigLiv", 3).toLong();
    recs.Chiudi(alias);
}

void CercaUltRigaSpese(scEvaOrdVen &eva, int32_t &plRiga, int32_t plNumRif)
{
    eva.msFase = QStringLiteral("Ricerca ultima Riga Spese");
    UltimaRigaSpese(eva.msTabSpese, eva.oiAnno, plNumRif, plRiga);
}
