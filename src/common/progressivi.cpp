#include "datimagazzino.h"

#include "connessionedb.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

const QString kModoVicino = QStringLiteral("A");

// A sum as read: a sum over no rows is Null and counts as 0.
double somma(const GestRecordset &rs, const QString &alias, QStringView campo)
{
    return UtilGenerali::ValoreNumerico(rs.ValoreCampo(alias, campo));
}

double quantita(double valore)
{
    return UtilGenerali::ArrotondaValore(Variant(valore), kModoVicino, 1.0, -giNumDecQta);
}

} // namespace

Variant LeggiProgArticolo(const QString &articolo, int16_t anno, const std::optional<Variant> &magazzino,
                          const Variant &livello1, const Variant &livello2, Variant *disponibile, Variant *giacenza,
                          Variant *ordinato, const std::optional<QString> &tipo)
{
    const QString tipoLettura = tipo ? *tipo : (disponibile ? QStringLiteral("D") : QStringLiteral("G"));
    QString sql = QStringLiteral("Select sum(QtaIniziale) As SumQtaIniziale") +
                  QStringLiteral(", sum(QtaCarico) As SumQtaCarico") +
                  QStringLiteral(", sum(QtaSCarico) As SumQtaSCarico") +
                  QStringLiteral(", sum(QtaOrdFor) As SumQtaOrdFor") +
                  QStringLiteral(", sum(QtaImpCli) As SumQtaImpCli") + QStringLiteral(" from ArticoliProg") +
                  QStringLiteral(" Where Anno = ") + UtilGenerali::SqlValore(Variant(anno), 2) +
                  QStringLiteral(" and Articolo = ") + UtilGenerali::SqlValore(Variant(articolo), 8);
    if (magazzino && !UtilGenerali::Vuoto(Variant(magazzino->text())))
        sql += QStringLiteral(" and Magazzino = ") + UtilGenerali::SqlValore(*magazzino, 8);
    if (!livello1.isNull())
        sql += QStringLiteral(" and Livello1 = ") + UtilGenerali::SqlValore(livello1, 8);
    if (!livello2.isNull())
        sql += QStringLiteral(" and Livello2 = ") + UtilGenerali::SqlValore(livello2, 8);

    GestRecordset rs;
    const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenSnapshot);
    const double iniziale = somma(rs, alias, u"SumQtaIniziale");
    const double carico = somma(rs, alias, u"SumQtaCarico");
    const double scarico = somma(rs, alias, u"SumQtaScarico");
    const double ordFor = somma(rs, alias, u"SumQtaOrdFor");
    const double impCli = somma(rs, alias, u"SumQtaImpCli");
    rs.Chiudi(alias);

    const Variant disp(quantita(iniziale + carico - scarico + ordFor - impCli));
    const Variant giac(quantita(iniziale + carico - scarico));
    if (disponibile)
        *disponibile = disp;
    if (giacenza)
        *giacenza = giac;
    if (ordinato)
        *ordinato = Variant(UtilGenerali::ArrotondaValore(Variant(ordFor), kModoVicino, 1.0));
    return textEquals(tipoLettura, u"D") ? disp : giac;
}
