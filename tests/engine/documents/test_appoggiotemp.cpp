// The run's request saved in AppoggioTemp and read back, on both engines.
#include "appoggiotemp.h"
#include "evasionediprova.h"

#include "contesto.h"

namespace {

class AppoggioTemp : public EvasioneDiProva {
protected:
    QStringList salvati() { return righe("Select IdCampo, Valorestringa, Valorenumero, Valoredata from AppoggioTemp"
                                         " Where Utente = 'mario' Order by IdCampo"); }
};

TEST_P(AppoggioTemp, TheRequestIsSavedAndReadBackWithItsRates)
{
    eva.obEvasManule = true;
    eva.osCliDa = "14-01-0001";
    eva.osInDesc = "Dell'Orto";
    eva.ovDataConsDa = Variant(Date::fromYmd(2024, 4, 1));
    eva.olNumRifA = 70000;
    eva.oiPerIvaMese = 6;
    eva.obSoloASaldo = true;
    for (const char *m : {"USD", "CHF", "GBP"})
        eva.ogCambi().setValore(m, true, 1.5);
    eva.ogCambi().setValore("GBP", true, 0.8575);

    ASSERT_EQ(CreaAppoggioTemp(eva), 0);
    EXPECT_EQ(dialoghi->testi, QStringList{});
    const QStringList s = salvati();
    EXPECT_EQ(s.size(), 26 + 6);
    EXPECT_TRUE(s.contains("ogCambiMon003|GBP||")) << s.join('\n').toStdString();
    EXPECT_TRUE(s.contains("ogCambiVal003||0.8575|") || s.contains("ogCambiVal003||0,8575|")) << s.join('\n').toStdString();
    EXPECT_TRUE(s.contains("obEvasManule||-1|"));
    EXPECT_TRUE(s.contains("ovDataConsA|||")); // an empty date is Null

    scEvaOrdVen letto;
    letto.ogCambi().setValore("SEK", true, 11.2);
    ASSERT_EQ(ImportaAppoggioTemp(letto, kUtente), 0);
    EXPECT_EQ(letto.oiAnno, 2024);
    EXPECT_TRUE(letto.obEvasManule);
    EXPECT_EQ(letto.otDataEvasione, Date::fromYmd(2024, 6, 30));
    EXPECT_EQ(letto.osFattDocOrd, "OC");
    EXPECT_EQ(letto.osTipoDocEva, "DDT");
    EXPECT_EQ(letto.osCliDa, "14-01-0001");
    EXPECT_EQ(letto.osInDesc, "Dell'Orto");
    EXPECT_EQ(letto.ovDataConsDa.toDate(), Date::fromYmd(2024, 4, 1));
    EXPECT_TRUE(letto.ovDataConsA.isNull());
    EXPECT_EQ(letto.olNumRifA, 70000);
    EXPECT_EQ(letto.oiPerIvaMese, 6);
    EXPECT_TRUE(letto.obSoloASaldo);
    EXPECT_FALSE(letto.obEvACorrisp);
    ASSERT_EQ(letto.ogCambi().Conta(), 4);
    EXPECT_EQ(letto.ogCambi().Elementi()[0].Chiave, "SEK"); // entries already there stay
    EXPECT_EQ(letto.ogCambi().Valore("USD"), 1.5);
    EXPECT_EQ(letto.ogCambi().Valore("GBP"), 0.8575);
    letto.RilasciaRecordset();

    // Another user has nothing saved: every value takes its kind's default.
    scEvaOrdVen altro;
    altro.osMoneta = "USD";
    altro.olNumDocDa = 9;
    ASSERT_EQ(ImportaAppoggioTemp(altro, "luigi"), 0);
    EXPECT_EQ(altro.osMoneta, "");
    EXPECT_EQ(altro.olNumDocDa, 0);
    EXPECT_TRUE(altro.otDataEvasione.isEmptyMarker());
    EXPECT_TRUE(altro.ovDataRifDa.isNull());
    EXPECT_EQ(altro.ogCambi().Conta(), 0);
    EXPECT_EQ(LeggiAppoggioTemp(altro, "luigi", "scEvaOrdVen", "osMoneta", 9).text(), "~");
    altro.RilasciaRecordset();

    // Deleting touches only this user's rows of the program.
    ASSERT_EQ(InserAppoggioTemp(eva, "luigi", "scEvaOrdVen", "osMoneta", Variant("USD"), 1).toLong(), 0);
    ASSERT_EQ(InserAppoggioTemp(eva, kUtente, "altro", "osMoneta", Variant("USD"), 1).toLong(), 0);
    EXPECT_EQ(CancellaAppoggioTemp(eva, kUtente, "scEvaOrdVen").toLong(), 0);
    EXPECT_EQ(righe("Select Utente, IdProgramma from AppoggioTemp Order by Utente"),
              (QStringList{"luigi|scEvaOrdVen", "mario|altro"}));
}

TEST_P(AppoggioTemp, AFailedInsertIsCountedAndReportedOnce)
{
    EXPECT_EQ(InserAppoggioTemp(eva, kUtente, "scEvaOrdVen", "x", Variant("v"), 4).toLong(), 1); // no value column
    EXPECT_EQ(InserAppoggioTemp(eva, kUtente, "scEvaOrdVen", "osMoneta", Variant("v"), 1).toLong(), 0);
    // osMoneta is stored already: that one insert fails, the others are stored.
    EXPECT_EQ(CreaAppoggioTemp(eva), 1);
    EXPECT_EQ(dialoghi->testi, QStringList{"Errore durante la creazione del file temporaneo delle selezioni"});
    EXPECT_EQ(conta("Select * from AppoggioTemp"), 26);
}

INSTANTIATE_TEST_SUITE_P(Motori, AppoggioTemp, kBothEngines, engineParamName);

} // namespace
