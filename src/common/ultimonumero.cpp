#include "blocchi.h"

#include "apperror.h"

#include "connessionedb.h"
#include "contesto.h"
#include "menuclient.h"
#include "utilgenerali.h"

#include <limits>

Variant UltimoNumero(int16_t piAnno, const QString &psTabella, const QString &psCampo, bool pbAnnoAzzera)
{
    // The highest number by Max, which passes over Null on every engine (a descending order
    // puts Null first on some).
    QString sql = QStringLiteral("Select Max(") + psCampo + QStringLiteral(") As UltimoNumero from ") + psTabella;
    if (pbAnnoAzzera) {
        const Variant parametro = ggMenuClient->LeggiParametro(QStringLiteral("Coge.AnnoAzzera"), QString());
        const int16_t annoAzzera = UtilGenerali::ValoreNonNullo(parametro, true, true).toInteger();
        if (annoAzzera != 0)
            sql += QStringLiteral(" where anno ") + (piAnno < annoAzzera ? QStringLiteral("<") : QStringLiteral(">=")) +
                   UtilGenerali::SqlValore(Variant(annoAzzera), 2);
    } else {
        sql += QStringLiteral(" where anno = ") + UtilGenerali::SqlValore(Variant(piAnno), 2);
    }
    GestRecordset rs;
    const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenSnapshot);
    const Variant ultimo = rs.ValoreCampo(alias, u"UltimoNumero");
    if (ultimo.isBlank())
        return Variant(int32_t{1});
    if (ultimo.toLong() == std::numeric_limits<int32_t>::max())
        throw AppError::standard(ErrNum::Overflow);
    return Variant(static_cast<int32_t>(ultimo.toLong() + 1));
}
