#include "provadb.h"
#include "utilgenerali.h"

namespace {

using Prova = ProvaDb;

TEST_P(Prova, ScriveELeggeUnaRiga)
{
    crea(QStringLiteral("Monete"),
         {{"Moneta", TipoCampo::Testo, 4}, {"Descrizione", TipoCampo::Testo, 30}, {"NumDec", TipoCampo::Intero},
          {"Cambio", TipoCampo::Doppio}, {"Minimo", TipoCampo::Valuta}, {"DataIns", TipoCampo::Data}},
         {QStringLiteral("Moneta")});
    esegui(QStringLiteral("INSERT INTO Monete (Moneta, Descrizione, NumDec, Cambio, Minimo, DataIns) VALUES (") +
           UtilGenerali::SqlValore(Variant("EUR"), 8) + ", " + UtilGenerali::SqlValore(Variant("Euro"), 8) + ", 2, 1.5, 12.34, " +
           UtilGenerali::SqlValore(Variant(Date::fromYmd(2024, 3, 5)), 7) + ")");
    const QString a = rs.Apri(db, conn, QString(), QStringLiteral("Select * from Monete where moneta = 'eur'"));
    ASSERT_FALSE(rs.NessunRecord(a));
    EXPECT_EQ(rs.LeggiCampo(a, u"Descrizione").toString(), QStringLiteral("Euro"));
    EXPECT_EQ(rs.LeggiCampo(a, u"numdec").type(), Variant::Type::Integer);
    EXPECT_EQ(rs.LeggiCampo(a, u"Minimo").toCurrency(), Currency::fromUnits(123400));
    EXPECT_EQ(rs.LeggiCampo(a, u"Monete.DataIns").toDate(), Date::fromYmd(2024, 3, 5));
    EXPECT_DOUBLE_EQ(rs.LeggiCampo(a, u"Cambio").toDouble(), 1.5);
}

INSTANTIATE_TEST_SUITE_P(Motori, Prova, kBothEngines, engineParamName);

} // namespace
