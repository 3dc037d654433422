#include "agganciprova.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "dialoghidiprova.h"
#include "leggiini.h"
#include "scrivifile.h"
#include "terminacollegamenti.h"
#include "testoerrore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(TestoErrore, ShowsTheStandardText)
{
    DialoghiInstallati d;
    d->rispondi(1);
    d->rispondi(1);
    d->rispondi(1);
    EXPECT_EQ(TestoErrore(Variant("Record bloccato"), Variant(int32_t(3260))), 1);
    TestoErrore(AppError(3197, "Record modificato", "scEvaOrdVen"));
    TestoErrore(Variant("x"), Variant(int16_t(5)), "Prima ", " dopo");
    ASSERT_EQ(d->mostrati().size(), 3u);
    EXPECT_EQ(d->mostrati()[0].testo, "Errore(3260): Record bloccato");
    EXPECT_EQ(d->mostrati()[0].icona, IconaMsg::Esclamazione);
    EXPECT_EQ(d->mostrati()[0].pulsantiMsgBox, PulsantiMsg::Ok);
    EXPECT_EQ(d->mostrati()[1].testo, "Errore(3197): Record modificato - scEvaOrdVen");
    EXPECT_EQ(d->mostrati()[2].testo, "Prima Errore(5): x dopo");
}

TEST(LeggiIni, ChosenEntryThenMainFileThenDefault)
{
    ContestoDiProva c;
    QTemporaryDir dir;
    scriviFile(dir.filePath("suite.ini"), "[Parametri Generali]\nBeepCome=1000\nSoloQui=si\n");
    scriviFile(dir.filePath("ditta1.ini"), "[Parametri Generali]\nBeepCome=-800;100\n");
    gsFileIni = dir.filePath("suite.ini");
    gsIniScelta = "ditta1.ini";
    QString valore;
    EXPECT_EQ(LeggiIni("Parametri Generali", "BeepCome", "", valore), "0");
    EXPECT_EQ(valore, "-800;100");
    EXPECT_EQ(LeggiIni("parametri generali", "soloqui", "", valore), "0");
    EXPECT_EQ(valore, "si");
    EXPECT_EQ(LeggiIni("Parametri Generali", "Manca", "dd/mm/yyyy", valore), "1");
    EXPECT_EQ(valore, "dd/mm/yyyy");
}

TEST(TerminaCollegamenti, ReleasesOnlyWhenAsked)
{
    AgganciDiProva a;
    TerminaCollegamenti(false);
    EXPECT_EQ(a.chiusureCollegamenti, 0);
    TerminaCollegamenti(true);
    EXPECT_EQ(a.chiusureCollegamenti, 1);
}

TEST(TerminaCollegamenti, WithoutAProgramHookReleasesTheLinks)
{
    ContestoDiProva c;
    ASSERT_TRUE(ggMenuClient);
    c.menu().responder().failCall("Scollega", 5); // an error while disconnecting is ignored
    ChiudiPerErrore(true);
    EXPECT_FALSE(ggMenuClient);
    EXPECT_FALSE(ggDbAzienda);
}

} // namespace
