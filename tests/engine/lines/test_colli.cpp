// Packs and dimension notes of a document line: the worked examples and the edges that matter.
#include "apperror.h"
#include "colliriga.h"

#include <gtest/gtest.h>

namespace {

ImpostazioniColli conDimensioni(const QString &lunghezza = QStringLiteral(";ML;"), const QString &nota = {})
{
    ImpostazioniColli imp;
    imp.qtaDaDimen = true;
    imp.umLunghezza = lunghezza;
    imp.umArea = QStringLiteral(";MQ;");
    imp.umVolume = QStringLiteral(";MC;");
    imp.notaLunghezza = nota;
    return imp;
}

DatiColli metri(double qta, int16_t colli = 4)
{
    DatiColli d;
    d.colli = colli;
    d.qta = qta;
    d.qtaOrdinata = 10;
    d.um = QStringLiteral("ML");
    d.lunghezza = Variant(2500.0);
    d.notaSotto = Variant("nota dell'ordine");
    return d;
}

struct Caso {
    const char *nome;
    ImpostazioniColli imp;
    DatiColli riga;
    int16_t colli;
    bool dimensioni;
    Variant nota;
};

TEST(Colli, WorkedExamplesAndEdges)
{
    DatiColli area;
    area.colli = 10;
    area.qta = 3;
    area.qtaOrdinata = 5;
    area.um = QStringLiteral("MQ");
    area.lunghezza = Variant(1000.0);
    area.larghezza = Variant(500.0);

    DatiColli volume = area;
    volume.um = QStringLiteral("mc");
    volume.altezza = Variant(200.0);

    DatiColli pezzi;
    pezzi.colli = 2;
    pezzi.qta = 30;
    pezzi.qtaOrdinata = 60;
    pezzi.um = QStringLiteral("PZ");
    pezzi.pezziPerConf = 12;

    DatiColli quota = pezzi;
    quota.colli = 4;
    quota.qtaOrdinata = 100;
    quota.pezziPerConf = 0;

    DatiColli quasiTutto = metri(10.000000004);
    DatiColli minuscolo = metri(7.5);
    minuscolo.um = QStringLiteral("ml");
    DatiColli senzaLunghezza = metri(7.5);
    senzaLunghezza.lunghezza = Variant(0.0);
    DatiColli lunghezzaNulla = metri(7.5);
    lunghezzaNulla.lunghezza = Variant::null();
    DatiColli senzaColli = metri(7.5, 0);
    DatiColli senzaUnita = metri(7.5);
    senzaUnita.um = QString();
    senzaUnita.pezziPerConf = 6;

    ImpostazioniColli dueLunghezze = conDimensioni(QStringLiteral(";ML;MQ;"));
    ImpostazioniColli divisore2;
    divisore2.divPezziConf = 2;
    ImpostazioniColli spento = conDimensioni();
    spento.qtaDaDimen = false;
    ImpostazioniColli rapportoZero = conDimensioni();
    rapportoZero.rapporto = 0;

    const Caso casi[] = {
        {"length, no template", conDimensioni(), metri(7.5), 3, true, Variant("3 x 2500")},
        {"length, template", conDimensioni(QStringLiteral(";ML;"), QStringLiteral("\u00a7Colli\u00a7 x \u00a7Lun\u00a7 \u00a7UM\u00a7")),
         metri(7.5), 3, true, Variant("3 x 2500 ML")},
        {"length, whole quantity keeps the order's packs and note",
         conDimensioni(QStringLiteral(";ML;"), QStringLiteral("\u00a7Colli\u00a7")), metri(10), 4, true,
         Variant("nota dell'ordine")},
        {"equal at eight decimals", conDimensioni(), quasiTutto, 4, true, Variant("nota dell'ordine")},
        {"area", conDimensioni(), area, 6, true, Variant("6 x 1000 x 500")},
        {"volume, unit in lower case", conDimensioni(), volume, 30, true, Variant("30 x 1000 x 500 x 200")},
        {"unit in two lists is a length", dueLunghezze, area, 3, true, Variant("3 x 1000")},
        {"lower-case unit matches", conDimensioni(), minuscolo, 3, true, Variant("3 x 2500")},
        {"list ML;MT does not hold M", conDimensioni(QStringLiteral("ML;MT")), [] {
             DatiColli d = metri(7.5);
             d.um = QStringLiteral("M");
             return d;
         }(),
         3, false, Variant()},
        {"zero length, partial delivery", conDimensioni(), senzaLunghezza, 0, true, Variant("0 x 0")},
        {"empty length, partial delivery", conDimensioni(), lunghezzaNulla, 0, true, Variant("0 x ")},
        {"ratio 0 reads as 1000", rapportoZero, metri(7.5), 3, true, Variant("3 x 2500")},
        {"no packs on the order line", conDimensioni(), senzaColli, 0, false, Variant()},
        {"dimensions off", spento, metri(7.5), 3, false, Variant()},
        {"pieces per pack", ImpostazioniColli{}, pezzi, 3, false, Variant()},
        {"pieces per pack halved", divisore2, pezzi, 5, false, Variant()},
        {"delivered share", ImpostazioniColli{}, quota, 2, false, Variant()},
        {"delivered share rounds up", ImpostazioniColli{}, [&] {
             DatiColli d = quota;
             d.qta = 1;
             return d;
         }(),
         1, false, Variant()},
        // An empty unit never counts as a dimension unit, not even against an empty list.
        {"empty unit, empty list", conDimensioni(QStringLiteral(";;")), senzaUnita, 2, false, Variant()},
    };
    for (const Caso &k : casi) {
        SCOPED_TRACE(k.nome);
        const ColliRiga r = CalcolaColli(k.riga, k.imp);
        EXPECT_EQ(r.colli, k.colli);
        EXPECT_EQ(r.dimensioni, k.dimensioni);
        EXPECT_TRUE(r.nota.sameAs(k.nota)) << r.nota.text().toStdString();
    }
}

TEST(Colli, ArithmeticFailuresRaiseTheRunError)
{
    const auto numero = [](const DatiColli &d, const ImpostazioniColli &imp) {
        try {
            CalcolaColli(d, imp);
        } catch (const AppError &e) {
            return e.number();
        }
        return 0;
    };
    DatiColli pezzi;
    pezzi.colli = 2;
    pezzi.qta = 30;
    pezzi.qtaOrdinata = 60;
    pezzi.pezziPerConf = 12;
    ImpostazioniColli divisoreZero;
    divisoreZero.divPezziConf = 0;
    EXPECT_EQ(numero(pezzi, divisoreZero), ErrNum::DivByZero);

    DatiColli senzaOrdinato = pezzi;
    senzaOrdinato.pezziPerConf = 0;
    senzaOrdinato.qtaOrdinata = 0;
    EXPECT_EQ(numero(senzaOrdinato, ImpostazioniColli{}), ErrNum::DivByZero);

    DatiColli troppi = pezzi;
    troppi.pezziPerConf = 1;
    troppi.qta = 40000;
    EXPECT_EQ(numero(troppi, ImpostazioniColli{}), ErrNum::Overflow);

    DatiColli filo = metri(7.5);
    filo.lunghezza = Variant(0.0001);
    EXPECT_EQ(numero(filo, conDimensioni()), ErrNum::Overflow);
}

} // namespace
