#include "ultimerighe.h"

#include "contesto.h"
#include "scevaordven.h"
#include "spesebanca.h"
#include "utilgenerali.h"

namespace {

const QString kAliasUltRighe = QStringLiteral("UltRigDetLiv");

// Only the numbered field: the lines table is wide, and this runs for every line written.
QString sqlUltimaRiga(const scEvaOrdVen &eva, int32_t plNumRif, const QString &campo)
{
    return QStringLiteral("Select top 1 ") + campo + QStringLiteral(" from ") + eva.msTabDett + QStringLiteral(" where anno = ") +
           UtilGenerali::SqlValore(Variant(eva.oiAnno), 2) + QStringLiteral(" AND NumRif = ") +
           UtilGenerali::SqlValore(Variant(plNumRif), 3) + QStringLiteral(" order by ") + campo +
           QStringLiteral(" DESC");
}

} // namespace

void CercaUltRigDetLiv(scEvaOrdVen &eva, int32_t &plRigDet, int32_t &plRigLiv, int32_t plNumRif)
{
    eva.msFase = QStringLiteral("Ricerca ultimo RigDet e RigLiv");
    GestRecordset &recs = eva.mgRecs();
    QString alias = recs.Apri(*ggDbAzienda, gsNomeConn, kAliasUltRighe,
                              sqlUltimaRiga(eva, plNumRif, QStringLiteral("RigDet")), false, dbOpenSnapshot);
    if (recs.NessunRecord(alias)) {
        plRigDet = 0;
        plRigLiv = 0;
    } else {
        plRigDet = recs.LeggiCampo(alias, u"RigDet").toLong();
        // The line with the highest RigDet need not hold the highest RigLiv.
        alias = recs.Apri(*ggDbAzienda, gsNomeConn, alias, sqlUltimaRiga(eva, plNumRif, QStringLiteral("RigLiv")),
                          false, dbOpenSnapshot);
        plRigLiv = recs.LeggiCampo(alias, u"RigLiv").toLong();
    }
    recs.Chiudi(alias);
}

void CercaUltRigaSpese(scEvaOrdVen &eva, int32_t &plRiga, int32_t plNumRif)
{
    eva.msFase = QStringLiteral("Ricerca ultima Riga Spese");
    UltimaRigaSpese(eva.msTabSpese, eva.oiAnno, plNumRif, plRiga);
}
