#include "tipiaiuto.h"

#include "utilgenerali.h"

#include <array>

namespace {

const std::array<TipoAiuto, 7> &tipi()
{
    static const std::array<TipoAiuto, 7> elenco{{
        {QStringLiteral("FattDocumento"), QStringLiteral("FattDocumenti"), {QStringLiteral("FattDocumento")},
         QStringLiteral("Descrizione"), {QStringLiteral("FattDocumento"), QStringLiteral("Descrizione"), QStringLiteral("Tipo")}},
        {QStringLiteral("Causale"), QStringLiteral("Causali"), {QStringLiteral("Causale")}, QStringLiteral("Descrizione"),
         {QStringLiteral("Causale"), QStringLiteral("Descrizione")}},
        {QStringLiteral("MagCausale"), QStringLiteral("MagCausali"), {QStringLiteral("MagCausale")},
         QStringLiteral("Descrizione"), {QStringLiteral("MagCausale"), QStringLiteral("Descrizione")}},
        {QStringLiteral("Conto"), QStringLiteral("PianoConti"),
         {QStringLiteral("Gruppo"), QStringLiteral("Mastro"), QStringLiteral("Conto")}, QStringLiteral("Descrizione"),
         {QStringLiteral("Gruppo"), QStringLiteral("Mastro"), QStringLiteral("Conto"), QStringLiteral("Descrizione")}},
        {QStringLiteral("Articolo"), QStringLiteral("Articoli"), {QStringLiteral("Articolo")}, QStringLiteral("Descrizione"),
         {QStringLiteral("Articolo"), QStringLiteral("Descrizione")}},
        {QStringLiteral("ArticoloCod"), QStringLiteral("Articoli"), {QStringLiteral("Articolo")},
         QStringLiteral("Descrizione"), {QStringLiteral("Articolo"), QStringLiteral("Descrizione")}},
        {QStringLiteral("Moneta"), QStringLiteral("Monete"), {QStringLiteral("Moneta")}, QStringLiteral("Descrizione"),
         {QStringLiteral("Moneta"), QStringLiteral("Descrizione")}},
    }};
    return elenco;
}

} // namespace

const TipoAiuto *trovaTipoAiuto(const QString &tipo)
{
    for (const TipoAiuto &t : tipi()) {
        if (t.tipo.compare(tipo.trimmed(), Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

QStringList valoriCodice(const TipoAiuto &tipo, const QString &codice)
{
    if (!tipo.conto())
        return {codice.trimmed()};
    const QString c = UtilGenerali::CodiceConto(Variant(codice));
    return {c.left(2), c.mid(2, 2), c.mid(4)};
}

QString codiceDaValori(const TipoAiuto &tipo, const QStringList &valori)
{
    if (!tipo.conto())
        return valori.value(0);
    return UtilGenerali::FormattaValore(Variant(valori.join(QString())), QStringLiteral("conto"));
}
