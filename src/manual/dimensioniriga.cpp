// The picking form's side of the quantity from dimensions.
#include "controlloevamanu.h"

#include "contesto.h"
#include "dialoghi.h"
#include "utilgenerali.h"
#include "vistaevamanu.h"

std::optional<DatiQtaDaDim> ControlloEvaManu::DatiQtaDaDimRiga(int16_t anno, int32_t numRif, int32_t rigDet)
{
    if (!mbQtaDaDimen)
        return std::nullopt;
    GestRecordset rs;
    try {
        const QString alias =
            rs.Apri(*ggDbAzienda, gsNomeConn, {},
                    QStringLiteral("Select * from OrdVenDett") + QStringLiteral(" Where Anno = ") +
                        UtilGenerali::SqlValore(Variant(anno), 2) + QStringLiteral(" And NumRif = ") +
                        UtilGenerali::SqlValore(Variant(numRif), 3) + QStringLiteral(" And RigDet = ") +
                        UtilGenerali::SqlValore(Variant(rigDet), 3),
                    false, dbOpenSnapshot);
        if (rs.NessunRecord(alias))
            return std::nullopt;
        DatiQtaDaDim d;
        d.um = rs.LeggiCampo(alias, u"UM").text();
        d.umLineari = msUMLineari;
        d.umQuadre = msUMQuadre;
        d.umCubiche = msUMCubiche;
        if (!UMInLista(d.um, msUMQuadre) && !UMInLista(d.um, msUMCubiche) && !UMInLista(d.um, msUMLineari))
            return std::nullopt;
        d.lunghezza = UtilGenerali::ValoreNonNullo(rs.LeggiCampo(alias, u"Lunghezza")).toDouble();
        d.larghezza = UtilGenerali::ValoreNonNullo(rs.LeggiCampo(alias, u"Larghezza")).toDouble();
        d.altezza = UtilGenerali::ValoreNonNullo(rs.LeggiCampo(alias, u"Altezza")).toDouble();
        d.rapporto = mdQtaDimenRapp;
        return d;
    } catch (const AppError &e) {
        frmMsgCom::MsgErrfrm(e);
    }
    return std::nullopt;
}

void ControlloEvaManu::AggQtaDaDim(double pdQta) { m_vista.ImpostaQtaDaEvaRigaCorrente(pdQta); }
