#include "inifile.h"
#include "winpaths.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(IniFile, SectionsAndKeysIgnoreCaseFirstKeyWins)
{
    const IniFile ini = IniFile::fromText(QStringLiteral(
        "; comment\r\n[Parametri Generali]\r\nNumIni = 3\r\nOrdIniDBase=ditta1\r\nnumini=9\r\n"
        "VisParam=\"TUTTO\"\r\n[lista file ini]\r\nOrdIniDBase1 = primo \r\nvuota=\r\n"));
    EXPECT_EQ(ini.value("PARAMETRI GENERALI", "ordinidbase").value_or("?"), "ditta1");
    EXPECT_EQ(ini.intValue("parametri generali", "NUMINI", 0), 3);
    EXPECT_EQ(ini.value("Parametri Generali", "VisParam", "x"), "TUTTO");
    EXPECT_EQ(ini.value("Lista File Ini", "OrdIniDBase1", "x"), "primo");
    EXPECT_EQ(ini.value("Lista File Ini", "vuota", "x"), "");
    EXPECT_FALSE(ini.value("Lista File Ini", "OrdIniDBase2").has_value());
    EXPECT_EQ(ini.value("Manca", "Chiave", "predefinito"), "predefinito");
    EXPECT_EQ(ini.intValue("Lista File Ini", "vuota", 7), 7);
    EXPECT_EQ(ini.intValue("Manca", "Chiave", -1), -1);
}

TEST(IniFile, MissingFileIsEmpty)
{
    const IniFile ini = IniFile::load("/nonexistent/suite.ini");
    EXPECT_FALSE(ini.exists());
    EXPECT_EQ(ini.value("Setup", "IniPrincipale", "d"), "d");
}

TEST(IniFile, ReadsUtf8AndWindows1252Files)
{
    QTemporaryDir dir;
    const QString utf = dir.filePath("a.ini"), ansi = dir.filePath("b.ini");
    QFile f(utf);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xEF\xBB\xBF[S]\nK=perch\xC3\xA9 \xE2\x82\xAC\n");
    f.close();
    QFile g(ansi);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write("[S]\r\nK=perch\xE9 \x80\r\n");
    g.close();
    EXPECT_EQ(IniFile::load(utf).value("s", "k", ""), QString::fromUtf8("perché €"));
    EXPECT_EQ(IniFile::load(ansi).value("s", "k", ""), QString::fromUtf8("perché €"));
}

TEST(IniFile, ProfileIntReadsAsTheWindowsCall)
{
    struct { const char *text; int expected; } cases[] = {
        {"12", 12}, {" 42abc", 42}, {"-5", -5}, {"abc", 0}, {"0x1F", 31}, {"3.7", 3}, {"+8", 8},
    };
    for (const auto &c : cases)
        EXPECT_EQ(profileInt(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(WinPaths, InstallIniAndDrives)
{
    qputenv("SUITE_INST_INI", "/tmp/x/SuiteInst.ini");
    EXPECT_EQ(mapWindowsPath("c:\\suiteinst.ini"), "/tmp/x/SuiteInst.ini");
    qunsetenv("SUITE_INST_INI");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    EXPECT_EQ(installIniPath(), "/etc/suite/SuiteInst.ini");
    QDir().mkpath(home.filePath("suite"));
    QFile f(home.filePath("suite/SuiteInst.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(installIniPath(), home.filePath("suite/SuiteInst.ini"));
    qputenv("SUITE_DRIVE_D", "/srv/dati");
    EXPECT_EQ(mapWindowsPath("D:\\Dati\\ditta.mdb"), "/srv/dati/Dati/ditta.mdb");
    EXPECT_EQ(mapWindowsPath("E:\\x.ini"), "/x.ini");
    EXPECT_EQ(mapWindowsPath("/home/u/suite.ini"), "/home/u/suite.ini");
}

} // namespace
