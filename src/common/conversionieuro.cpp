#include "conversionieuro.h"

#include "contesto.h"
#include "tabellearrotondamento.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

// A rate as a number: blank gives `seVuoto`; a text is read with "," or "." as the decimal
// sign (error 13 when it is no number).
double numeroCambio(const Variant &cambio, double seVuoto)
{
    if (cambio.isBlank() || (cambio.isText() && cambio.text().trimmed().isEmpty()))
        return seVuoto;
    return cambio.toDouble();
}

double arrotonda(double numero, const std::optional<Variant> &decimali, int16_t predefiniti)
{
    const int d = decimali ? decimali->toInteger() : predefiniti;
    return UtilGenerali::ArrotondaValore(Variant(numero), QStringLiteral("A"), 1.0, -d);
}

bool eMoneta(const QString &moneta, const QString &codice)
{
    return textEquals(moneta, codice);
}

} // namespace

double ConvertiInEuro(const Variant &valore, const Variant &cambio, const std::optional<QString> &operatore,
                      const std::optional<QString> &moneta, bool arrotDecimali, const std::optional<Variant> &decimali,
                      bool arrotTabella)
{
    const QString m = moneta.value_or(gsMonetaDitta);
    Variant tasso = cambio;
    QString oper;
    if (eMoneta(m, gsCodLira)) {
        tasso = Variant(gsCambioLiraEuro);
        oper = gsOperCambio;
    } else if (eMoneta(m, gsCodEuro)) {
        tasso = Variant(int16_t(1));
        oper = QStringLiteral("*");
    } else {
        oper = operatore.value_or(gsOperCambio);
    }
    const double r = numeroCambio(tasso, 0.0);
    double n = UtilGenerali::ValoreNumerico(valore, true);
    if (oper == QLatin1String("/")) {
        if (r != 0.0)
            n /= r;
    } else {
        n *= r;
    }
    if (arrotTabella)
        return ArrotValuta(Variant(n), QStringLiteral("E"));
    if (arrotDecimali)
        return arrotonda(n, decimali, giNumDecPrzEuro);
    return n;
}

double ConvertiDaEuro(const Variant &valore, const Variant &cambio, const QString &operatore,
                      const std::optional<QString> &moneta, bool arrotDecimali, const std::optional<Variant> &decimali,
                      bool arrotTabella)
{
    const QString m = moneta.value_or(gsMonetaDitta);
    Variant tasso = cambio;
    QString oper = operatore;
    if (eMoneta(m, gsCodLira)) {
        tasso = Variant(gsCambioLiraEuro);
        oper = gsOperCambio;
    } else if (eMoneta(m, gsCodEuro)) {
        tasso = Variant(int16_t(1));
        oper = QStringLiteral("/");
    }
    const double r = numeroCambio(tasso, 1.0);
    double n = UtilGenerali::ValoreNumerico(valore, true);
    if (oper == QLatin1String("*")) {
        if (r != 0.0)
            n /= r;
    } else {
        n *= r;
    }
    if (arrotTabella)
        return ArrotValuta(Variant(n), QStringLiteral("L"));
    if (arrotDecimali)
        return arrotonda(n, decimali, giNumDecPrzLire);
    return n;
}

Variant ConvertiValute(const Variant &valore, const Variant &cambio, const QString &operatore,
                       const std::optional<Variant> &moneta, Variant *valLire, Variant *valEuro, Variant *valValuta,
                       bool arrotLire, bool arrotEuro, bool arrotValuta, const std::optional<Variant> &decLire,
                       const std::optional<Variant> &decEuro, const std::optional<Variant> &decValuta, bool tabLire,
                       bool tabEuro, const QString &modo, const QString &tipoMonetaDitta, int16_t catena)
{
    const QString m = moneta ? moneta->text() : gsMonetaDitta;
    const Variant dLire = decLire.value_or(Variant(giNumDecPrzLire));
    const Variant dEuro = decEuro.value_or(Variant(giNumDecPrzEuro));
    const Variant dValuta = decValuta.value_or(Variant(giNumDecPrzEuro));
    const Variant uno(int16_t(1));

    const auto lireInEuro = [&](const Variant &x) {
        return Variant(ConvertiInEuro(x, uno, gsOperCambio, gsCodLira, arrotEuro, dEuro, tabEuro));
    };
    const auto euroInLire = [&](const Variant &x) {
        return Variant(ConvertiDaEuro(x, uno, gsOperCambio, gsCodLira, arrotLire, dLire, tabLire));
    };
    const auto valutaInEuro = [&] {
        return Variant(ConvertiInEuro(valore, cambio, operatore, m, arrotEuro, dEuro, tabEuro));
    };
    const auto valutaInEuroNonArrotondato = [&] {
        return Variant(ConvertiInEuro(valore, cambio, operatore, m, false, std::nullopt, false));
    };

    Variant lire, euro, valuta;
    if (textEquals(modo, u"M")) {
        if (textEquals(tipoMonetaDitta, u"L")) {
            euro = Variant(ConvertiInEuro(valore, uno, gsOperCambio, gsCodLira, false, std::nullopt, false));
            lire = valore;
        } else {
            euro = Variant(valore.toDouble());
            lire = euroInLire(euro);
        }
        valuta = Variant(ConvertiDaEuro(euro, cambio, operatore, m, arrotValuta, dValuta, false));
        if (valLire)
            *valLire = lire;
        if (valEuro)
            *valEuro = euro;
        if (valValuta)
            *valValuta = valuta;
        return valuta;
    }

    const bool catenaInversa = catena == -1;
    if (eMoneta(m, gsCodEuro)) {
        lire = euroInLire(valore);
        euro = catenaInversa ? lireInEuro(lire) : valore;
        valuta = euro;
    } else if (eMoneta(m, gsCodLira)) {
        euro = lireInEuro(valore);
        lire = catenaInversa ? euroInLire(euro) : valore;
        valuta = lire;
    } else if (catenaInversa && textEquals(modo, u"E")) {
        euro = valutaInEuro();
        lire = euroInLire(euro);
        valuta = valore;
    } else if (catenaInversa) {
        lire = euroInLire(valutaInEuroNonArrotondato());
        euro = lireInEuro(lire);
        valuta = valore;
    } else {
        lire = euroInLire(valutaInEuroNonArrotondato());
        euro = valutaInEuro();
        valuta = valore;
    }
    if (valLire)
        *valLire = lire;
    if (valEuro)
        *valEuro = euro;
    if (valValuta)
        *valValuta = valuta;
    return eMoneta(gsMonetaDitta, gsCodLira) ? lire : euro;
}

double LireInEuro(const Variant &valore, bool tabEuro, bool arrotEuro, const std::optional<Variant> &decEuro)
{
    Variant euro;
    ConvertiValute(valore, Variant(int16_t(1)), gsOperCambio, Variant(gsCodLira), nullptr, &euro, nullptr, true,
                   arrotEuro, true, std::nullopt, decEuro, std::nullopt, false, tabEuro, QStringLiteral("E"),
                   QStringLiteral("E"), 0);
    return euro.toDouble();
}

double EuroInLire(const Variant &valore, bool tabLire, bool arrotLire, const std::optional<Variant> &decLire)
{
    Variant lire;
    ConvertiValute(valore, Variant(int16_t(1)), gsOperCambio, Variant(gsCodEuro), &lire, nullptr, nullptr, arrotLire,
                   true, true, decLire, std::nullopt, std::nullopt, tabLire, false, QStringLiteral("E"),
                   QStringLiteral("E"), 0);
    return lire.toDouble();
}
