#include "datimagazzino.h"

#include "contesto.h"
#include "menuclient.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

bool gestioneTaglie()
{
    return textEquals(ggMenuClient->LeggiParametro(QStringLiteral("Mag.GesTaglie"), QString()).text(), u"S");
}

QString condizione(const QString &campo, bool usato, const std::optional<Variant> &livello)
{
    return QStringLiteral(" And ") + campo + QStringLiteral(" = ") +
           UtilGenerali::SqlValore(usato ? *livello : Variant(LivelloVuoto), 8);
}

} // namespace

Variant SqlCondLivelli(int16_t numLivelli, const std::optional<Variant> &livello1,
                       const std::optional<Variant> &livello2, bool senzaLivelli, bool forzaLivelli)
{
    QString sql;
    const bool usa1 =
        gestioneTaglie() && livello1.has_value() && !senzaLivelli && (forzaLivelli || numLivelli >= 1);
    sql += condizione(QStringLiteral("Livello1"), usa1, livello1);
    const bool usa2 =
        gestioneTaglie() && livello2.has_value() && !senzaLivelli && (forzaLivelli || numLivelli >= 2);
    sql += condizione(QStringLiteral("Livello2"), usa2, livello2);
    return Variant(sql);
}

QString NormLivello(QString &codice)
{
    qsizetype i = 0;
    while (i < codice.size() && codice[i] == QLatin1Char(' '))
        ++i;
    codice.remove(0, i);
    return codice.isEmpty() ? LivelloVuoto : codice;
}
