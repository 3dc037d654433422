#include "totalirighemov.h"

#include "apperror.h"
#include "contesto.h"
#include "dialoghi.h"
#include "gestrecordset.h"
#include "textcompare.h"
#include "utilgenerali.h"

Variant TotaliRigheMov(const QString &psModo, int16_t piAnno, int32_t plNumReg, const QString &psSuffisso)
{
    const bool quantita = textEquals(psModo, u"Q");
    if (!quantita && !textEquals(psModo, u"V"))
        return Variant(int16_t{0});
    try {
        GestRecordset rs;
        const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                      QStringLiteral("Select sum(Qta) as TotQta") + QStringLiteral(", Sum(ValTotale) as TotVal") +
                                          QStringLiteral(" From MovMagDett") + psSuffisso + QStringLiteral(" Where Anno = ") +
                                          UtilGenerali::SqlValore(Variant(piAnno), 2) + QStringLiteral(" And NumReg = ") +
                                          UtilGenerali::SqlValore(Variant(plNumReg), 3),
                                      false, dbOpenSnapshot);
        // A movement without rows sums to Null: nothing to share out.
        const Variant totale = rs.ValoreCampo(alias, quantita ? u"TotQta" : u"TotVal");
        rs.Chiudi(alias);
        return Variant(UtilGenerali::ValoreNumerico(totale));
    } catch (const AppError &e) {
        frmMsgCom::MsgErrfrm(e);
        return Variant(int16_t{0});
    }
}
