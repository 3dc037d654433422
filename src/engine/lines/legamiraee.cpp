#include "scritturariga.h"

#include "connessionedb.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "scevaordven.h"
#include "utilgenerali.h"

#include <algorithm>

namespace {

// The document key of an order line written earlier in this call, 0 when none.
int32_t RigaDocumentoDi(const LegamiRaee &g, int32_t rigLivOrdine)
{
    const auto it = std::find(g.rigLivOrdine.cbegin(), g.rigLivOrdine.cend(), rigLivOrdine);
    return it == g.rigLivOrdine.cend() ? 0 : g.rigLivDocumento[it - g.rigLivOrdine.cbegin()];
}

void RicordaRiga(LegamiRaee &g, int32_t rigLivOrdine, int32_t rigLivDocumento)
{
    const auto it = std::find(g.rigLivOrdine.cbegin(), g.rigLivOrdine.cend(), rigLivOrdine);
    if (it != g.rigLivOrdine.cend()) {
        g.rigLivDocumento[it - g.rigLivOrdine.cbegin()] = rigLivDocumento;
        return;
    }
    g.rigLivOrdine.append(rigLivOrdine);
    g.rigLivDocumento.append(rigLivDocumento);
}

void MettiInAttesa(LegamiRaee &g, int32_t rigLivDocumento, int32_t rigLivRaee)
{
    const auto libero = std::find(g.attesaDocumento.begin(), g.attesaDocumento.end(), 0);
    if (libero == g.attesaDocumento.end()) {
        g.attesaDocumento.append(rigLivDocumento);
        g.attesaOrdine.append(rigLivRaee);
        return;
    }
    const auto i = libero - g.attesaDocumento.begin();
    g.attesaDocumento[i] = rigLivDocumento;
    g.attesaOrdine[i] = rigLivRaee;
}

} // namespace

void CollegaRaee(scEvaOrdVen &eva, ConversioneRighe &c, int32_t rigLivOrdine, int32_t rigLivRaee,
                 int32_t rigLivDocumento)
{
    LegamiRaee &g = c.raee;
    GestRecordset &rs = eva.mgRecs();
    RicordaRiga(g, rigLivOrdine, rigLivDocumento);

    if (rigLivRaee > 0 && rs.LeggiCampo(c.aliasDettDoc, u"RigLivRAEE").toLong() == 0) {
        const int32_t collegata = RigaDocumentoDi(g, rigLivRaee);
        if (collegata > 0) {
            rs.ScriviCampo(c.aliasDettDoc, u"RigLivRAEE", Variant(collegata));
        } else {
            // The linked line is still to come: the negated order key marks the wait.
            MettiInAttesa(g, rigLivDocumento, rigLivRaee);
            rs.ScriviCampo(c.aliasDettDoc, u"RigLivRAEE", Variant(-rigLivRaee));
        }
    }

    // Every line waiting for this one gets its link, whatever link this line has itself.
    for (qsizetype i = 0; i < g.attesaDocumento.size(); ++i) {
        if (g.attesaDocumento[i] == 0 || g.attesaOrdine[i] != rigLivOrdine)
            continue;
        ggDbAzienda->Esegui(gsNomeConn,
                            QStringLiteral("update ") + eva.msTabDett + QStringLiteral(" Set RigLivRAEE = ") +
                                UtilGenerali::SqlValore(Variant(rigLivDocumento), 3) + QStringLiteral(" WHERE Anno =") +
                                UtilGenerali::SqlValore(Variant(eva.oiAnno), 2) + QStringLiteral(" AND NumRif = ") +
                                UtilGenerali::SqlValore(Variant(c.numRifDoc), 3) + QStringLiteral(" AND RigLiv = ") +
                                UtilGenerali::SqlValore(Variant(g.attesaDocumento[i]), 3));
        g.attesaDocumento[i] = 0;
        g.attesaOrdine[i] = 0;
    }
}
