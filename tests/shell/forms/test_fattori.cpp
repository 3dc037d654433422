// The screen factors read at start-up.
#include "avvio.h"
#include "contesto.h"
#include "risvid.h"
#include "schermo.h"
#include "scrivifile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(FattoriRisoluzione, EachFactorFallsBackToTheGeneralOneThenToTheScreen)
{
    const auto prima = impostaGeometriaSchermo(GeometriaSchermo{QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 768)});
    QTemporaryDir dir;
    struct Caso {
        QByteArray ini;
        double gen, pers, sta, help, msg;
    };
    const Caso casi[] = {
        {"Generale=1.2\n", 1.2, 1.2, 1.2, 1.2, 1.2},
        {"Generale=1.2\nMsgCom=0,9\nStaVid=0\n", 1.2, 1.2, 1.28, 1.2, 0.9},
        {"Generale=-2\n", -2, 0, 1.28, 1.28, 1.28},
        {"Generale=-2\nPersBase=1.1\nHelp=-2\n", -2, 1.1, 1.1, 1.1, 1.1},
        {"", 0, 0, 1.28, 1.28, 1.28},
    };
    for (const Caso &c : casi) {
        gsFileIni = scriviFile(dir.filePath("suite.ini"), "[Risoluzione Video]\n" + c.ini);
        LeggiFattoriRisoluzione();
        EXPECT_EQ(gdRisVidGen, c.gen) << c.ini.toStdString();
        EXPECT_EQ(gdRisVidPers, c.pers) << c.ini.toStdString();
        EXPECT_DOUBLE_EQ(gdRisVidSta, c.sta) << c.ini.toStdString();
        EXPECT_DOUBLE_EQ(gdRisVidHelp, c.help) << c.ini.toStdString();
        EXPECT_DOUBLE_EQ(gdRisVidMsg, c.msg) << c.ini.toStdString();
    }
    gsFileIni.clear();
    gdRisVidGen = gdRisVidPers = gdRisVidSta = gdRisVidHelp = gdRisVidMsg = 0;
    impostaGeometriaSchermo(prima);
}

} // namespace
