#include "valoriscarico.h"

#include "contesto.h"
#include "gestrecordset.h"
#include "utilgenerali.h"

namespace {

const QString kTitolo = QStringLiteral("Aggiornamento valori scarico");

QString sqlDettagli(int16_t anno, int32_t numReg, const QString &da, const QString &a)
{
    // The row's whole key is read, so that the row can be written back.
    QString sql = QStringLiteral("Select MovMagDett.Anno, MovMagDett.Articolo, MovMagDett.NumReg, MovMagDett.RigLiv,"
                                 "MovMagDett.ValScaricoLire,MovMagDett.ValScarico") +
                  QStringLiteral(" FROM (MovMagDett INNER JOIN Articoli") +
                  QStringLiteral(" ON MovMagDett.Articolo = Articoli.Articolo)") + QStringLiteral(" INNER JOIN MovMagTes") +
                  QStringLiteral(" ON MovMagDett.NumReg = MovMagTes.NumReg") +
                  QStringLiteral(" AND MovMagDett.Anno = MovMagTes.Anno") + QStringLiteral(" Where MovMagDett.Anno = ") +
                  UtilGenerali::SqlValore(Variant(anno), 2) + QStringLiteral(" AND Articoli.LivGruppo1 Is Not Null");
    if (numReg != -1)
        sql += QStringLiteral(" and MovMagDett.NumReg = ") + UtilGenerali::SqlValore(Variant(numReg), 3);
    if (!da.trimmed().isEmpty())
        sql += QStringLiteral(" and MovMagDett.Articolo >= ") + UtilGenerali::SqlValore(Variant(da.trimmed()), 8);
    if (!a.trimmed().isEmpty())
        sql += QStringLiteral(" and MovMagDett.Articolo <= ") + UtilGenerali::SqlValore(Variant(a.trimmed()), 8);
    return sql;
}

QString sqlLivelli(int16_t anno, const Variant &numReg, const Variant &rigLiv)
{
    return QStringLiteral("Select sum(iif (QtaAggMag > 0,ValScaricoLire * QtaAggMag,ValScaricoLire)) as CostoLire") +
           QStringLiteral(", sum(iif (QtaAggMag > 0,ValScarico * QtaAggMag,ValScarico)) as Costo ") +
           QStringLiteral(", sum(QtaAggMag) as QtaTot ") + QStringLiteral(" from MovMagLiv") +
           QStringLiteral(" Where Anno = ") + UtilGenerali::SqlValore(Variant(anno), 2) +
           QStringLiteral(" AND NumReg = ") + UtilGenerali::SqlValore(numReg, 3) + QStringLiteral(" AND RigLiv = ") +
           UtilGenerali::SqlValore(rigLiv, 3);
}

double arrotonda(double valore, int16_t decimali)
{
    return UtilGenerali::ArrotondaValore(Variant(valore), QStringLiteral("A"), 1.0, -decimali);
}

} // namespace

void AggValoriScarico(AvanzamentoElab &pgAvanzamento, int16_t piAnno, int32_t plNumReg, const QString &psArticoloDa,
                      const QString &psArticoloA)
{
    GestRecordset rs;
    const QString dett = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                 sqlDettagli(piAnno, plNumReg, psArticoloDa, psArticoloA), false, dbOpenDynaset);
    pgAvanzamento.Avvia(rs.RecordCount(dett), kTitolo, 0, true, true, Variant(), kTitolo, 2, true);
    for (; !rs.Eof(dett); rs.MoveNext(dett)) {
        pgAvanzamento.Avanza(Variant(rs.AbsolutePosition(dett) + 1), Variant(), false);
        const QString liv =
            rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                    sqlLivelli(piAnno, rs.ValoreCampo(dett, u"MovMagDett.NumReg"), rs.ValoreCampo(dett, u"MovMagDett.RigLiv")),
                    false, dbOpenSnapshot);
        const Variant qtaTot = rs.ValoreCampo(liv, u"QtaTot");
        const Variant costoLire = rs.ValoreCampo(liv, u"CostoLire");
        const Variant costo = rs.ValoreCampo(liv, u"Costo");
        rs.Chiudi(liv);
        // No level rows (the sums are Null): the row's own issue values stand.
        if (qtaTot.isNull())
            continue;
        const double qta = UtilGenerali::ValoreNumerico(qtaTot);
        double valLire = UtilGenerali::ValoreNumerico(costoLire);
        double val = UtilGenerali::ValoreNumerico(costo);
        if (qta != 0) {
            valLire = arrotonda(valLire / qta, giNumDecPrzLire);
            val = arrotonda(val / qta, giNumDecPrzEuro);
        }
        rs.Edit(dett);
        rs.ScriviCampo(dett, u"ValScaricoLire", Variant(valLire));
        rs.ScriviCampo(dett, u"ValScarico", Variant(val));
        rs.Update(dett);
    }
    rs.Chiudi(dett);
    pgAvanzamento.Termina(true);
}
