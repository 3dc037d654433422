// Decodes of the help component against the company fixture, on both engines.
#include "apperror.h"
#include "dittaaiuto.h"
#include "listacampi.h"

#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

class Decodifica : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        if (!d.apri(GetParam()))
            GTEST_SKIP();
    }
    int16_t muta(const QString &tipo, const QString &codice, QString &descrizione, Variant &campi,
                 const QString &filtro = {})
    {
        int16_t lavoro = 0;
        return d.aiuto->DecodificaMuta(tipo, Variant(codice), descrizione, std::nullopt, lavoro, 0, 8, QString(), 0,
                                       campi, filtro);
    }
    DittaAiuto d;
};

TEST_P(Decodifica, SilentDecodeFillsTheFieldsOfTheRowFound)
{
    QString descr;
    Variant campi = listaNomi({"FattDocEvasione", "MagCausaleRientro", "RegimeMargine"});
    EXPECT_EQ(muta("FattDocumento", "oc", descr, campi), 0); // letter case ignored
    EXPECT_EQ(descr, "Ordine cliente");
    EXPECT_EQ(testiLista(campi), (QStringList{"DDT", "", "N"}));

    // The field list keeps its lower bound; a field the table lacks reads empty.
    VariantArray unoBased{1, {Variant("SplitPay"), Variant("NonEsiste")}};
    Variant causale(unoBased);
    EXPECT_EQ(muta("Causale", "FTVSP", descr, causale), 0);
    EXPECT_EQ(causale.toArray().lowerBound, 1);
    EXPECT_EQ(testiLista(causale), (QStringList{"S", "<Empty>"}));
}

TEST_P(Decodifica, AFailedDecodeGivesEmptyValuesNeverTheFieldNames)
{
    struct Caso {
        const char *tipo, *codice, *filtro;
        int16_t esito;
    } casi[] = {
        {"FattDocumento", "XX", "", -1},          // no such code
        {"FattDocumento", "", "", -1},            // nothing typed
        {"FattDocumento", "OC", "tipo='B'", -1},  // filtered out
        {"Inesistente", "OC", "", 1},             // no such lookup
        {"FattDocumento", "OC", "NoField = 1", 1}, // the table cannot be read so
    };
    for (const Caso &c : casi) {
        QString descr = "prima";
        Variant campi = listaNomi({"Tipo", "Descrizione"});
        EXPECT_EQ(muta(c.tipo, c.codice, descr, campi, c.filtro), c.esito) << c.codice << " " << c.filtro;
        EXPECT_EQ(descr, "") << c.codice;
        EXPECT_EQ(testiLista(campi), (QStringList{"<Empty>", "<Empty>"})) << c.codice << " " << c.filtro;
    }
}

TEST_P(Decodifica, AccountsDecodeWrittenWithOrWithoutSeparators)
{
    for (const char *codice : {"14-01-0001", "14010001", " 14-01-0001 "}) {
        QString descr;
        Variant campi = listaNomi({"Bolli"});
        EXPECT_EQ(muta("Conto", codice, descr, campi), 0) << codice;
        EXPECT_EQ(descr, "Cliente 0001") << codice;
    }
    QString descr;
    Variant campi;
    EXPECT_EQ(muta("Conto", "1401", descr, campi), -1);
}

TEST_P(Decodifica, ControlsGetTheDescriptionOrTheNotFoundText)
{
    QLineEdit codice;
    QLabel descrizione;
    Variant campi = listaNomi({"SplitPay"});
    auto decodifica = [&](const QString &testo, const QString &filtro = {}) {
        codice.setText(testo);
        return d.aiuto->Decodifica("Causale", &codice, &descrizione, std::nullopt, 0, QString(), 0, campi, filtro);
    };
    EXPECT_EQ(decodifica("ftv"), -1);
    EXPECT_EQ(descrizione.text(), "Fattura di vendita");
    EXPECT_EQ(testiLista(campi), QStringList{"N"});

    campi = listaNomi({"SplitPay"});
    EXPECT_EQ(decodifica("FTV", "SplitPay = 'S'"), 0);
    EXPECT_EQ(descrizione.text(), kInesistente);
    EXPECT_EQ(testiLista(campi), QStringList{"<Empty>"});

    EXPECT_EQ(decodifica("  "), 0);
    EXPECT_EQ(descrizione.text(), "");

    QObject senzaTesto;
    EXPECT_THROW(d.aiuto->Decodifica("Causale", &senzaTesto, &descrizione, std::nullopt, 0, QString(), 0, campi, {}),
                 AppError);
}

TEST_P(Decodifica, ARateIsTheLatestOnOrBeforeTheDate)
{
    d.inserisci("Cambi", {{"Moneta", "USD"}, {"Data", Date::fromYmd(2024, 1, 10)}, {"Cambio", 1.1}});
    d.inserisci("Cambi", {{"Moneta", "USD"}, {"Data", Date::fromYmd(2024, 3, 1)}, {"Cambio", 1.0825}});
    d.inserisci("Cambi", {{"Moneta", "SEK"}, {"Data", Date::fromYmd(2024, 2, 1)}, {"Cambio", 11.5}});
    struct Caso {
        const char *moneta;
        Date data;
        bool trovato;
        double cambio;
        Date del;
    } casi[] = {
        {"USD", Date::fromYmd(2024, 2, 15), true, 1.1, Date::fromYmd(2024, 1, 10)},
        {"usd", Date::fromYmd(2024, 3, 1, 17, 30), true, 1.0825, Date::fromYmd(2024, 3, 1)},
        {"USD", Date::fromYmd(2024, 1, 9), false, 0, Date()},
        {"GBP", Date::fromYmd(2024, 6, 1), false, 0, Date()},
    };
    for (const Caso &c : casi) {
        double cambio = 0;
        Date del;
        EXPECT_EQ(d.aiuto->LeggiCambio(c.moneta, Variant(c.data), cambio, del).toBool(), c.trovato) << c.moneta;
        EXPECT_DOUBLE_EQ(cambio, c.cambio) << c.moneta;
        EXPECT_EQ(del, c.del) << c.moneta;
    }
    double cambio = 0;
    Date del;
    EXPECT_FALSE(d.aiuto->LeggiCambio("USD", Variant(), cambio, del).toBool());
}

INSTANTIATE_TEST_SUITE_P(Engines, Decodifica, kBothEngines, engineParamName);

} // namespace
