#include "decodcodice.h"

#include "contesto.h"
#include "gestoreaiuto.h"
#include "parametri.h"
#include "textcompare.h"

QString gsNoDecInattivi;

QString CondizioneFlagNonS(const QString &campo)
{
    return QStringLiteral(" (") + campo + QStringLiteral(" Is Null Or ucase(") + campo + QStringLiteral(")<>'S') ");
}

void FiltroArticoliAttivi(QString &filtro)
{
    if (gsNoDecInattivi.isEmpty())
        gsNoDecInattivi = LeggiParamPers(QStringLiteral("Articoli"), QStringLiteral("NoDecInattivi"), Variant("N")).text();
    if (!textEquals(gsNoDecInattivi, u"S"))
        return;
    if (!filtro.isEmpty())
        filtro += QStringLiteral(" And ");
    filtro += CondizioneFlagNonS(QStringLiteral("Inattivo"));
}

Variant DecodCodice(const QString &tipo, const Variant &codice, QString &descrizione,
                    const std::optional<Variant> &opzione, int16_t opzione5, int16_t opzione6, const QString &opzione7,
                    int16_t opzione8, Variant *listaCampi, const QString &filtro)
{
    QString f = filtro;
    Variant nessuno{QString()};
    Variant &campi = listaCampi ? *listaCampi : nessuno;
    if (campi.isEmpty())
        campi = Variant(QString());
    if (textEquals(tipo, u"Articolo"))
        FiltroArticoliAttivi(f);
    int16_t lavoro = 0;
    return Variant(ggAiuto->DecodificaMuta(tipo, codice, descrizione, opzione, lavoro, opzione5, opzione6, opzione7,
                                           opzione8, campi, f));
}

Variant ListaCampi(std::initializer_list<const char *> nomi)
{
    VariantArray a;
    a.lowerBound = 0;
    for (const char *n : nomi)
        a.items.emplace_back(QString::fromLatin1(n));
    return Variant(std::move(a));
}

QString ValoreInLista(const Variant &lista, size_t posizione)
{
    const auto &voci = lista.toArray().items;
    return posizione < voci.size() ? voci[posizione].text() : QString();
}
