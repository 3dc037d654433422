#include "messaggife.h"

#include "utilgenerali.h"

namespace {

const QString kACapo = QStringLiteral("\r\n");

std::optional<Variant> elemento(const Variant &param, int32_t indice)
{
    if (!param.isArray())
        return std::nullopt;
    const VariantArray &a = param.toArray();
    const int64_t posizione = static_cast<int64_t>(indice) - a.lowerBound;
    if (posizione < 0 || posizione >= static_cast<int64_t>(a.items.size()))
        return std::nullopt;
    return a.items[static_cast<size_t>(posizione)];
}

// The outcome: 0 for success; nullopt when it reads as no number.
std::optional<double> esito(const Variant &param)
{
    const auto e = elemento(param, 2);
    if (!e || !e->isNumeric())
        return std::nullopt;
    return e->toDouble();
}

QString erroreFE(const QString &titolo, const Variant &param)
{
    return titolo + kACapo + QStringLiteral("Err: ") + elemento(param, 2)->text() + QStringLiteral(" - ") +
           elemento(param, 3).value_or(Variant()).text();
}

} // namespace

std::optional<QString> testoFEInvio(const Variant &param)
{
    const auto e = esito(param);
    const auto errori = elemento(param, 3);
    if (!e || !errori)
        return std::nullopt;
    if (*e != 0)
        return erroreFE(QStringLiteral("Errore nell'invio delle fatture"), param);
    const auto inviate = elemento(param, 6);
    if (!inviate || !inviate->isNumeric())
        return std::nullopt;
    QString testo = QStringLiteral("Inviate ") +
                    UtilGenerali::FormattaValore(Variant(inviate->toDouble()), QStringLiteral("#,##0")).trimmed() +
                    QStringLiteral(" fatture");
    if (!errori->text().isEmpty())
        testo += kACapo + QStringLiteral("Fatture non inviate per errori") + errori->text();
    return testo;
}

std::optional<QString> testoFEAttesa(const Variant &param)
{
    const auto e = esito(param);
    const auto quante = elemento(param, 3);
    if (!e || !quante)
        return std::nullopt;
    if (*e != 0)
        return erroreFE(QStringLiteral("Errore nella richiesta di fatture in attesa"), param);
    if (!quante->isNumeric() || quante->toDouble() <= 0)
        return std::nullopt;
    return QStringLiteral("Ci sono ") + quante->text() + QStringLiteral(" fatture in attesa");
}
