#include "qtadadimensione.h"

#include "contesto.h"
#include "utilgenerali.h"

bool UMInLista(const QString &um, const QString &lista)
{
    return lista.contains(QLatin1Char(';') + um + QLatin1Char(';'), Qt::CaseInsensitive);
}

ClasseQtaDaDim ClasseDaUM(const QString &um, const QString &umLineari, const QString &umQuadre, const QString &umCubiche)
{
    if (UMInLista(um, umLineari))
        return ClasseQtaDaDim::Lineare;
    if (UMInLista(um, umQuadre))
        return ClasseQtaDaDim::Quadra;
    if (UMInLista(um, umCubiche))
        return ClasseQtaDaDim::Cubica;
    return ClasseQtaDaDim::Nessuna;
}

double DatiQtaDaDim::Quantita(double pezzi) const
{
    const double r = rapporto;
    switch (classe()) {
    case ClasseQtaDaDim::Lineare: return pezzi * lunghezza / r;
    case ClasseQtaDaDim::Quadra: return pezzi * lunghezza * larghezza / (r * r);
    case ClasseQtaDaDim::Cubica: return pezzi * lunghezza * larghezza * altezza / (r * r * r);
    case ClasseQtaDaDim::Nessuna: break;
    }
    return 0;
}

double DatiQtaDaDim::Pezzi(const QString &testo)
{
    const Variant v = UtilGenerali::ValoreNonNullo(Variant(testo), true, true);
    return v.isNumber() ? v.toDouble() : 0;
}

QString DatiQtaDaDim::TestoQuantita(double quantita)
{
    if (!(quantita > 0))
        return {};
    return UtilGenerali::MascheraNumero(Variant(quantita), giNumDecQta, {}, false, QStringLiteral("#,##0"), false, {},
                                        QStringLiteral("^"));
}

double DatiQtaDaDim::QuantitaDaTesto(const QString &testo) { return UtilGenerali::ValoreNumerico(Variant(testo), true); }
