#include "colliriga.h"

#include "apperror.h"
#include "confrontaarrotondati.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <cmath>
#include <optional>

namespace {

enum class Misura { Lunghezza, Area, Volume };

// A unit list is a text of codes separated by ";" (wrapped in ";" or not). A blank unit is no
// unit at all and never matches, not even an empty entry of the list.
bool UnitaInLista(const QString &um, const QString &lista)
{
    if (um.trimmed().isEmpty())
        return false;
    for (const auto voce : QStringView(lista).tokenize(u';', Qt::SkipEmptyParts))
        if (textEquals(voce, um))
            return true;
    return false;
}

std::optional<Misura> MisuraDellaUnita(const QString &um, const ImpostazioniColli &imp)
{
    if (!imp.qtaDaDimen)
        return std::nullopt;
    if (UnitaInLista(um, imp.umLunghezza))
        return Misura::Lunghezza;
    if (UnitaInLista(um, imp.umArea))
        return Misura::Area;
    if (UnitaInLista(um, imp.umVolume))
        return Misura::Volume;
    return std::nullopt;
}

// Floating-point division gives no error by itself: the run's error is raised instead of
// storing a number of packs made of infinity.
double Quoziente(double dividendo, double divisore)
{
    if (divisore == 0.0)
        throw AppError::standard(ErrNum::DivByZero);
    const double q = dividendo / divisore;
    if (!std::isfinite(q))
        throw AppError::standard(ErrNum::Overflow);
    return q;
}

// Rounded up to a whole number of packs; beyond the 16-bit range raises 6.
int16_t PezziPerEccesso(double valore)
{
    return Variant(UtilGenerali::ArrotondaValore(Variant(valore), QStringLiteral("S"))).toInteger();
}

const QString &Modello(Misura m, const ImpostazioniColli &imp)
{
    switch (m) {
    case Misura::Lunghezza: return imp.notaLunghezza;
    case Misura::Area: return imp.notaArea;
    case Misura::Volume: return imp.notaVolume;
    }
    return imp.notaLunghezza;
}

} // namespace

ImpostazioniColli ImpostazioniColliDa(const scEvaOrdVen &eva)
{
    ImpostazioniColli imp;
    imp.qtaDaDimen = eva.mbQtaDaDimen;
    imp.umLunghezza = eva.msQtaDaDimUML;
    imp.umArea = eva.msQtaDaDimUMQ;
    imp.umVolume = eva.msQtaDaDimUMC;
    imp.notaLunghezza = eva.msNotaDimUML;
    imp.notaArea = eva.msNotaDimUMQ;
    imp.notaVolume = eva.msNotaDimUMC;
    imp.rapporto = eva.mdQtaDimenRapp;
    imp.divPezziConf = eva.mdDivPezziConf;
    return imp;
}

ColliRiga CalcolaColli(const DatiColli &riga, const ImpostazioniColli &imp)
{
    ColliRiga out;
    if (riga.colli <= 0)
        return out;

    int16_t n = riga.colli;
    QString modello;
    if (const auto misura = MisuraDellaUnita(riga.um, imp)) {
        out.dimensioni = true;
        if (ConfrontaArrotondati(Variant(riga.qta), Variant(riga.qtaOrdinata), -8) == 0) {
            // Delivered whole: the order's own packs and note.
            out.nota = riga.notaSotto;
        } else {
            const double r = imp.rapporto == 0.0 ? 1000.0 : imp.rapporto;
            const bool area = *misura != Misura::Lunghezza;
            const bool volume = *misura == Misura::Volume;
            const double l = UtilGenerali::ValoreNumerico(riga.lunghezza);
            const double w = UtilGenerali::ValoreNumerico(riga.larghezza);
            const double h = UtilGenerali::ValoreNumerico(riga.altezza);
            if (l > 0 && (!area || w > 0) && (!volume || h > 0)) {
                const double pezzo = volume ? (l * w * h) / (r * (r * r)) : area ? (l * w) / (r * r) : l / r;
                n = PezziPerEccesso(Quoziente(riga.qta, pezzo));
            } else {
                n = 0;
            }
            const QString &tipo = Modello(*misura, imp);
            if (!tipo.isEmpty()) {
                modello = UtilGenerali::Sostituisci(tipo, QStringLiteral("\u00a7Lun\u00a7"), riga.lunghezza);
                if (area)
                    modello = UtilGenerali::Sostituisci(modello, QStringLiteral("\u00a7Lar\u00a7"), riga.larghezza);
                if (volume)
                    modello = UtilGenerali::Sostituisci(modello, QStringLiteral("\u00a7Alt\u00a7"), riga.altezza);
            } else {
                QString nota = QString::number(n) + QStringLiteral(" x ") + riga.lunghezza.text();
                if (area)
                    nota += QStringLiteral(" x ") + riga.larghezza.text();
                if (volume)
                    nota += QStringLiteral(" x ") + riga.altezza.text();
                out.nota = Variant(nota);
            }
        }
    }
    if (!modello.isEmpty()) {
        modello = UtilGenerali::Sostituisci(modello, QStringLiteral("\u00a7UM\u00a7"), Variant(riga.um));
        out.nota = Variant(UtilGenerali::Sostituisci(modello, QStringLiteral("\u00a7Colli\u00a7"), Variant(n)));
    }

    if (out.dimensioni)
        out.colli = n;
    else if (riga.pezziPerConf != 0)
        out.colli = PezziPerEccesso(Quoziente(riga.qta, Quoziente(riga.pezziPerConf, imp.divPezziConf)));
    else
        out.colli = PezziPerEccesso(Quoziente(riga.qta * riga.colli, riga.qtaOrdinata));
    return out;
}
