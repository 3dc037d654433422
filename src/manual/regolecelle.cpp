#include "regolecelle.h"

#include "confrontaarrotondati.h"
#include "contesto.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

const QString kS = QStringLiteral("S");
const QString kN = QStringLiteral("N");
const QString kRiepilogo = QStringLiteral("*liv");

bool si(const QString &t) { return textEquals(t, kS); }

// Quantities compare at eight decimals.
int16_t confronta(double a, double b) { return ConfrontaArrotondati(Variant(a), Variant(b), -8); }

EsitoCella rifiuto(const QString &messaggio, bool diSistema)
{
    EsitoCella e;
    e.rifiutato = true;
    e.messaggio = messaggio;
    e.finestraDiSistema = diSistema;
    return e;
}

// A flag typed into a cell, in upper case; nullopt-like empty when it is neither "S" nor "N".
QString flag(const Variant &testo)
{
    const QString t = testo.text().toUpper();
    return (t == kS || t == kN) ? t : QString();
}

EsitoCella quantita(const Variant &testo, const RigaCella &riga, const QString &consTotale)
{
    EsitoCella e;
    const QString t = testo.text();
    double q = UtilGenerali::ValoreNumerico(t.isEmpty() ? Variant(QStringLiteral("0")) : testo, true);
    const double aperta = riga.qta - riga.qtaEvasa;
    if ((riga.qta < 0 || si(consTotale)) && confronta(q, aperta) != 0) {
        q = aperta;
        e.messaggio = riga.qta < 0 ? testiCelle::kNegativa : testiCelle::kOrdineTotale;
    }
    if (confronta(q, 0) != 0 && textEquals(riga.livello1, kRiepilogo) && !si(consTotale) && confronta(q, aperta) != 0) {
        q = aperta;
        e.messaggio = testiCelle::kRiepilogoTotale;
    }
    if (confronta(aperta, q) < 0)
        e.messaggio = testiCelle::kPiuDellOrdinato;
    e.valore = Variant(q);
    return e;
}

} // namespace

namespace regoleCelle {

EsitoCella Testata(const QString &campo, const Variant &testo, const QString &consTotale)
{
    const bool selez = textEquals(campo, u"Selez");
    if (!selez && !textEquals(campo, u"EvadeTutto"))
        return EsitoCella{.valore = testo};
    const QString f = flag(testo);
    // A refused entry leaves the other flag as it was.
    if (f.isEmpty())
        return rifiuto(testiCelle::kSoloSN, true);
    EsitoCella e{.valore = Variant(f)};
    if (selez) {
        e.campoCollegato = QStringLiteral("EvadeTutto");
        if (f == kN)
            e.valoreCollegato = kN;
        else if (si(consTotale))
            e.valoreCollegato = kS;
    } else {
        e.campoCollegato = QStringLiteral("Selez");
        if (f == kS)
            e.valoreCollegato = kS;
        else if (si(consTotale))
            e.valoreCollegato = kN;
    }
    if (e.valoreCollegato.isEmpty())
        e.campoCollegato.clear();
    return e;
}

EsitoCella Righe(const QString &campo, const Variant &testo, const RigaCella &riga, const QString &consTotale)
{
    if (textEquals(campo, u"QtaDaEva"))
        return quantita(testo, riga, consTotale);
    if (!textEquals(campo, u"ASaldo"))
        return EsitoCella{.valore = testo};
    const QString f = testo.text().toUpper();
    if (textEquals(riga.livello1, kRiepilogo)) {
        if (f != kN)
            return rifiuto(testiCelle::kRiepilogoASaldo, false);
    } else if (flag(testo).isEmpty()) {
        return rifiuto(testiCelle::kSoloSN, false);
    }
    return EsitoCella{.valore = Variant(f)};
}

EsitoCella Spese(const QString &campo, const Variant &testo)
{
    if (!textEquals(campo, u"Selez"))
        return EsitoCella{.valore = testo};
    const QString f = flag(testo);
    if (f.isEmpty())
        return rifiuto(testiCelle::kSoloSN, true);
    return EsitoCella{.valore = Variant(f)};
}

double ArrotondaQtaDaEva(const Variant &testo)
{
    const double q = UtilGenerali::Vuoto(testo, 8, 1, false) ? 0.0 : UtilGenerali::ValoreNumerico(testo, true);
    return UtilGenerali::ArrotondaValore(Variant(q), QStringLiteral("A"), 1.0, -giNumDecQta);
}

} // namespace regoleCelle
