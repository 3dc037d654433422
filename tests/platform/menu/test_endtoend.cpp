// A real program process under the stand-in server.
#include "apperror.h"
#include "menufixture.h"
#include "serverconfigfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

MenuConfig programConfig()
{
    MenuConfig c = sampleMenuConfig();
    c.programma = MENU_TEST_PROG;
    c.switchM = "menu1";
    c.switchP = "EVAORD sede2";
    c.switchF = "frmEvasOrd";
    c.switchI = "/etc/suite/suite.ini";
    return c;
}

TEST(MenuEndToEnd, ProgramStartsTalksAndEndsOnFine)
{
    MenuServerControl server(programConfig());
    EXPECT_EQ(server.programArguments(),
              (QStringList{"/M", "menu1", "/P", "EVAORD sede2", "/F", "frmEvasOrd", "/I", "/etc/suite/suite.ini"}));
    server.startProgram();
    ASSERT_TRUE(server.waitForCall("LeggiParametro", 10000));

    const auto line = server.command("rigacomando");
    ASSERT_TRUE(line);
    EXPECT_EQ(*line->stringIf(), R"(/M menu1 /P "EVAORD sede2" /F frmEvasOrd /I "/etc/suite/suite.ini")");
    EXPECT_EQ(*server.command("echo", "", QString::fromUtf8("§ç~$!^"))->stringIf(), QString::fromUtf8("§ç~$!^"));
    server.setUser("lucia");
    EXPECT_EQ(*server.command("utente")->stringIf(), "lucia");
    EXPECT_EQ(*server.command("lancio", "KEY2")->stringIf(), "ritorno");
    EXPECT_EQ(*server.command("preppassaa", "SEC1")->stringIf(), "");
    const auto fine = server.command("FINE");
    ASSERT_TRUE(fine);
    EXPECT_EQ(*fine->stringIf(), "");
    EXPECT_EQ(server.waitForProgramExit(10000), 0);

    const QStringList j = server.journalLines();
    const QStringList expected = {
        R"(avvio )" MENU_TEST_PROG R"( /M menu1 /P "EVAORD sede2" /F frmEvasOrd /I "/etc/suite/suite.ini")",
        "connessione",
        R"(chiamata Collega("menu1", "EVAORD", "sede2") => Empty)",
        R"(chiamata InviaComando("PrepProcCorr", "Tutti", Empty) => "proc-7")",
        R"(chiamata LancioCorrente() => Array(0: "/F frmEvasOrd /H ""/home/x/help.chm""", "", "", "", "0"))",
        R"(chiamata LeggiParametro("Mag.GesTaglie", "") => "S")",
        R"(comando rigacomando("", Empty) => "/M menu1 /P ""EVAORD sede2"" /F frmEvasOrd /I ""/etc/suite/suite.ini""")",
        QString::fromUtf8(R"(comando echo("", "§ç~$!^") => "§ç~$!^")"),
        R"(comando utente("", Empty) => "lucia")",
        R"(chiamata NomeUtente() => "lucia")",
        R"(comando lancio("KEY2", Empty) => "ritorno")",
        R"(chiamata PrepLancio("KEY2") => Empty)",
        R"(chiamata LancioCorrente() => Array(0: "/F frmEvasOrd", "VENDITE", "SEC9", "ritorno", "2"))",
        R"(comando preppassaa("SEC1", Empty) => "")",
        R"(chiamata AggiungiPassaA("Evasione ordini", "frmEvasOrd", "SEC1") => Empty)",
        R"(comando FINE("", Empty) => "")",
        R"(chiamata Scollega() => Empty)",
    };
    // A command's line is written when it is sent; the calls its handler makes follow it.
    ASSERT_EQ(j.size(), expected.size() + 2);
    EXPECT_EQ(j.mid(0, expected.size()), expected);
    // the end of the link and of the process come in either order
    QStringList tail = j.mid(expected.size());
    tail.sort();
    EXPECT_EQ(tail, (QStringList{"disconnessione", "uscita 0"}));
}

TEST(MenuEndToEnd, ProgramWithoutServerFailsFast)
{
    MenuServerControl server(programConfig());
    server.refuseConnections(true);
    server.startProgram();
    EXPECT_EQ(server.waitForProgramExit(10000), 3);
    EXPECT_TRUE(server.calls().isEmpty());
}

TEST(MenuEndToEnd, ConfigurationFileDrivesTheServer)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("servermenu.ini");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QString::fromUtf8(
                "; prova\n[Server]\nUtente=mario\nTerminale=PC01\nDataLavoro=15/03/2024\nFileIni=/etc/suite/suite.ini\n"
                "[Programma]\nPercorso=" MENU_TEST_PROG "\nM=menu1\nP=EVAORD\nF=\n"
                "[Lancio]\nParam=/F frmEvasOrd /H \"/home/x/help.chm\"\nTipoForm=0\n"
                "[Lancio Key2]\nParam=/F frmEvasOrd\nParamLancia=ritorno\n"
                "[ParametriMenu]\nMag.GesTaglie=S\nMag.NumDecQta=@Integer 2\nVersMenu=@Double 1.07\nVuoto=\nNullo=@Null\n"
                "Chiocciola=@@x\nDitta.CambioLiraEuro=1936,27\nData=@Date 2024-03-15\nImporto=@Currency 12.34\n"
                "[ParametriPersonali]\nTutti.Massimizzato=PC01,\n"
                "[TastiCtrl]\n65=@Long 1\n-66=D testo\n")
                .toUtf8());
    f.close();
    const MenuConfig c = MenuServerControl::loadConfig(path);
    EXPECT_EQ(c.utente, "mario");
    EXPECT_EQ(c.dataLavoro, Date::fromYmd(2024, 3, 15));
    EXPECT_EQ(c.programma, MENU_TEST_PROG);
    EXPECT_EQ(c.switchF.value_or("?"), "");
    EXPECT_FALSE(c.switchI.has_value());
    EXPECT_EQ(c.lancio.osParam, "/F frmEvasOrd /H \"/home/x/help.chm\"");
    EXPECT_EQ(c.lanci.at("KEY2").osParamLancia, "ritorno");
    const struct { const char *key; const char *literal; } params[] = {
        {"mag.gestaglie", R"("S")"}, {"Mag.NumDecQta", "2%"}, {"VersMenu", "1.07#"}, {"Vuoto", R"("")"},
        {"Nullo", "Null"}, {"Chiocciola", R"("@x")"}, {"Ditta.CambioLiraEuro", R"("1936,27")"},
        {"Data", "#2024-03-15#"}, {"Importo", "12.34@"},
    };
    for (const auto &p : params)
        EXPECT_EQ(menuLiteral(c.parametri.at(p.key)), p.literal) << p.key;
    EXPECT_EQ(*c.parametri.at(MenuConfig::chiavePersonale("tutti", "MASSIMIZZATO")).stringIf(), "PC01,");
    EXPECT_EQ(c.tastiCtrl.at(65).type(), Variant::Type::Long);
    EXPECT_EQ(*c.tastiCtrl.at(-66).stringIf(), "D testo");

    MenuServerControl server(c);
    EXPECT_EQ(server.programArguments(), (QStringList{"/M", "menu1", "/P", "EVAORD", "/F", ""}));
    server.startProgram();
    ASSERT_TRUE(server.waitForCall("LeggiParametro", 10000));
    EXPECT_EQ(*server.command("fine")->stringIf(), "");
    EXPECT_EQ(server.waitForProgramExit(10000), 0);

    EXPECT_THROW(leggiTestoServerMenu("[ParametriMenu]\nX=@Integer 99999\n"), AppError);
    EXPECT_THROW(leggiTestoServerMenu("[ParametriMenu]\nX=@Sconosciuto 1\n"), AppError);
    EXPECT_THROW(MenuServerControl::loadConfig(dir.filePath("manca.ini")), AppError);
}

TEST(MenuEndToEnd, ProgramDroppedByTheServerIsSeenAsDisconnected)
{
    MenuServerControl server(programConfig());
    server.startProgram();
    ASSERT_TRUE(server.waitForCall("LeggiParametro", 10000));
    server.dropConnection();
    EXPECT_TRUE(server.waitUntilUnlinked(3000));
    EXPECT_EQ(server.sendCommand("fine"), 0u); // nobody to send it to
}

} // namespace
