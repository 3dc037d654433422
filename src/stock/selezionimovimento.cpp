#include "selezionimovimento.h"

#include "connessionedb.h"
#include "contesto.h"
#include "testoerrore.h"
#include "textcompare.h"
#include "transazioni.h"
#include "utilgenerali.h"

bool eRigaDettaglio(const QString &psTipoRiga)
{
    return textEquals(psTipoRiga, u"D");
}

int32_t ApriTestataCausale(int16_t piAnnoRegMov, int32_t plNumRegMov, GestRecordset &pgRec, QString &psAliasTes)
{
    try {
        if (psAliasTes.trimmed().isEmpty()) {
            const QString sql =
                QStringLiteral("Select MovMagTes.*,MagCausali.* from ") +
                QStringLiteral(" MovMagTes INNER JOIN MagCausali") +
                QStringLiteral(" ON MovMagTes.MagCausale = MagCausali.MagCausale") +
                QStringLiteral(" Where MovMagTes.anno = ") + UtilGenerali::SqlValore(Variant(piAnnoRegMov), 2) +
                QStringLiteral(" And MovMagTes.numreg = ") + UtilGenerali::SqlValore(Variant(plNumRegMov), 3);
            psAliasTes = pgRec.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenDynaset);
        }
        return 0;
    } catch (const AppError &e) {
        TestoErrore(e);
        return UtilGenerali::NumeroErrore(e);
    }
}

QString SqlRigheMovimento(int16_t piAnnoRegMov, int32_t plNumRegMov, const QString &psTipoRiga,
                          const QString &psTabDett, const QString &psTabLiv, const std::optional<Variant> &pvFlagStato)
{
    const QString &d = psTabDett;
    const QString &l = psTabLiv;
    const bool dettaglio = eRigaDettaglio(psTipoRiga);
    QString sql;
    if (dettaglio) {
        sql = QStringLiteral("Select ") + d + QStringLiteral(".*");
    } else {
        sql = QStringLiteral("Select ") + l + QStringLiteral(".*, ") + d + QStringLiteral(".Articolo");
        if (EsisteCampo(Variant(d), Variant(QStringLiteral("ListDaAgg"))))
            sql += QStringLiteral(", ") + d + QStringLiteral(".ListDaAgg");
        if (EsisteCampo(Variant(d), Variant(QStringLiteral("ListDaAggClie"))))
            sql += QStringLiteral(", ") + d + QStringLiteral(".ListDaAggClie");
    }
    sql += QStringLiteral(", Articoli.LivGruppo1, Articoli.ArtMag, Articoli.FlagLivLis") +
           QStringLiteral(", Articoli.GruppoForAb, Articoli.MastroForAb, Articoli.ContoForAb") +
           QStringLiteral(" from ");
    if (dettaglio)
        sql += QStringLiteral(" ") + d + QStringLiteral(" Inner Join Articoli");
    else
        sql += QStringLiteral(" (") + l + QStringLiteral(" Inner Join ") + d + QStringLiteral(" ON (") + d +
               QStringLiteral(".NumReg = ") + l + QStringLiteral(".NumReg)") + QStringLiteral(" AND (") + d +
               QStringLiteral(".Anno = ") + l + QStringLiteral(".Anno)") + QStringLiteral(" AND (") + d +
               QStringLiteral(".RigLiv = ") + l + QStringLiteral(".RigLiv)") + QStringLiteral(") Inner Join Articoli");
    sql += QStringLiteral(" ON (") + d + QStringLiteral(".Articolo = Articoli.Articolo)") + QStringLiteral(" Where ") +
           d + QStringLiteral(".Anno = ") + UtilGenerali::SqlValore(Variant(piAnnoRegMov), 2) +
           QStringLiteral(" AND ") + d + QStringLiteral(".NumReg = ") +
           UtilGenerali::SqlValore(Variant(plNumRegMov), 3);
    if (pvFlagStato)
        sql += QStringLiteral(" AND ") + d + QStringLiteral(".FlagStato = ") + UtilGenerali::SqlValore(*pvFlagStato, 8);
    return sql;
}

QString SqlRigheApp(const QString &psTipoRiga, const QString &psTabDett, const QString &psTabLiv)
{
    if (eRigaDettaglio(psTipoRiga))
        return QStringLiteral("Select ") + psTabDett + QStringLiteral(".* from") + QStringLiteral(" ") + psTabDett +
               QStringLiteral(" Where ") + psTabDett + QStringLiteral(".Anno = -1");
    return QStringLiteral("Select ") + psTabLiv + QStringLiteral(".* from ") + QStringLiteral(" ") + psTabLiv +
           QStringLiteral(" Where ") + psTabLiv + QStringLiteral(".Anno = -1");
}
