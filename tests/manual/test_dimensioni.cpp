// Quantity from dimensions: the formulas, the shown quantity, the line's dimensions.
#include "evamanuprova.h"

#include "contesto.h"

class Dimensioni : public EvaManuProva {};

TEST_P(Dimensioni, Formule)
{
    giNumDecQta = 3;
    const QString lin = QStringLiteral(";ML;M;"), qua = QStringLiteral(";MQ;M;"), cub = QStringLiteral(";MC;");
    struct Caso {
        const char *um;
        double l, w, h, r;
        const char *pezzi;
        const char *mostrata;
        bool larghezza, altezza;
    } const casi[] = {
        {"ML", 2500, 0, 0, 1000, "4", "10", false, false},
        {"mq", 2000, 500, 0, 1000, "3", "3", true, false},
        {"MC", 2000, 1000, 500, 1000, "2", "2", true, true},
        {"M", 2500, 500, 0, 1000, "2", "5", true, false}, // linear and area: computed as linear
        {"ML", 1234.5678, 0, 0, 1000, "1", "1,235", false, false},
        {"ML", 2500, 0, 0, 1000, "", "", false, false},
        {"PZ", 2500, 0, 0, 1000, "4", "", false, false},
        {"ML", 1500, 0, 0, 100, "1", "15", false, false},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(std::string(c.um) + " " + c.pezzi);
        DatiQtaDaDim d{QString::fromLatin1(c.um), c.l, c.w, c.h, c.r, lin, qua, cub};
        const QString mostrata = DatiQtaDaDim::TestoQuantita(d.Quantita(DatiQtaDaDim::Pezzi(QString::fromLatin1(c.pezzi))));
        EXPECT_EQ(mostrata, QString::fromUtf8(c.mostrata));
        EXPECT_EQ(d.mostraLarghezza(), c.larghezza);
        EXPECT_EQ(d.mostraAltezza(), c.altezza);
    }
    EXPECT_DOUBLE_EQ(DatiQtaDaDim::QuantitaDaTesto(QStringLiteral("1,235")), 1.235);
    EXPECT_DOUBLE_EQ(DatiQtaDaDim::QuantitaDaTesto(QStringLiteral("1.234,5")), 1234.5);
}

TEST_P(Dimensioni, DimensioniDellaRiga)
{
    suite::OrderInput o;
    o.numRif = 1;
    o.righe.push_back({.articolo = suite::articleCode(6), .qta = 10, .prezzo = 2,
                       .extra = {{"UM", "ML"}, {"Lunghezza", 2500.0}, {"Larghezza", 40.0}}});
    o.righe.push_back({.articolo = suite::articleCode(1), .qta = 10, .prezzo = 2, .extra = {{"UM", "PZ"}}});
    ordine(o);
    contesto->personale(QStringLiteral("Vendite"), QStringLiteral("QtaDaDimen"), Variant(QStringLiteral("S")));
    contesto->personale(QStringLiteral("Vendite"), QStringLiteral("QtaDaDimUML"), Variant(QStringLiteral("ml")));
    contesto->personale(QStringLiteral("Vendite"), QStringLiteral("QtaDimenRapp"), Variant(QStringLiteral("100")));
    ControlloEvaManu &c = nuovoControllo();
    const auto d = c.DatiQtaDaDimRiga(2024, 1, 1);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->um, QStringLiteral("ML"));
    EXPECT_EQ(d->lunghezza, 2500);
    EXPECT_EQ(d->larghezza, 40);
    EXPECT_EQ(d->altezza, 0);
    EXPECT_EQ(d->rapporto, 100);
    EXPECT_EQ(d->Quantita(2), 50);
    EXPECT_FALSE(c.DatiQtaDaDimRiga(2024, 1, 2).has_value()) << "a unit of no list";
    EXPECT_FALSE(c.DatiQtaDaDimRiga(2024, 1, 9).has_value()) << "no such line";

    c.AggQtaDaDim(50);
    EXPECT_EQ(finestra.qtaDaEva, 50);

    c.mbQtaDaDimen = false;
    EXPECT_FALSE(c.DatiQtaDaDimRiga(2024, 1, 1).has_value());
    EXPECT_TRUE(dialoghi->testi.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Motori, Dimensioni, kBothEngines, engineParamName);
