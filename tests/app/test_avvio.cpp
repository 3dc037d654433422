// Start-up of the real program under the stand-in menu server: the questions it asks, in
// order, and each fatal path with its own message and a clean end.
#include "menujournal.h"
#include "programmadiprova.h"
#include "scratchdb.h"
#include "scrivifile.h"

#include <gtest/gtest.h>

namespace {

// The calls as "name" or "name argument" for the calls whose first argument says what they ask.
QStringList domande(const MenuJournal &giornale)
{
    QStringList out;
    for (const JournalEntry &e : giornale) {
        if (e.kind != JournalEntry::Kind::Chiamata)
            continue;
        if ((e.op == "LeggiParametro" || e.op == "InviaComando" || e.op == "PrepLancio") && !e.args.empty())
            out << e.op + u' ' + e.args.front().text();
        else
            out << e.op;
    }
    return out;
}

QString personale(const QString &sezione, const QString &nome)
{
    return QStringLiteral("LeggiParametro ") + MenuConfig::chiavePersonale(sezione, nome);
}

TEST(Avvio, AsksWhatItNeedsInOrderOpensItsWindowAndEndsOnFine)
{
    ProgrammaDiProva p(EVASORD_PROG);
    p.avvia();
    ASSERT_TRUE(p.attendiAvvio());
    const QStringList attese = {
        "Collega", "InviaComando PrepProcCorr", "LancioCorrente", "FileIni",
        "LeggiParametro Versione", "LeggiParametro DataVersione", "LeggiParametro NomeDBAzie",
        "LeggiParametro ConnectDBAzie", "LeggiParametro PwdDbAzie",
        "DataLavoro", "LeggiParametro DescAzie", "LeggiParametro Mag.NumDecQta", "LeggiParametro Ditta.Moneta",
        "LeggiParametro Ditta.CodLira", "LeggiParametro Ditta.CodEuro", "LeggiParametro Ditta.OperCambio",
        "LeggiParametro Ditta.CambioLiraEuro", "LeggiParametro Mag.NumDecQta", "LeggiParametro ColBackGotFocus",
        "LeggiParametro ColBacklostFocus", personale("Tutti", "ColBackForm"), personale("Tutti", "Massimizzato"),
        "NomeTerminale", personale("Tutti", "ArrotIvaEuro"), personale("Tutti", "TastierinoVirgola"),
        personale("Tutti", "DecodHelpAbil"), personale("Tutti", "DecodHelpPersKey"), "LeggiParametro SqlLogin",
        "LeggiParametro SqlPwd", personale("Tutti", "ArrUnitIntermedio"), personale("Help", "HlpSpost"),
        "LeggiParametro VersMenu", "InviaComando AddSeg", personale("Tutti", "DataMinima"),
        // the launching program's keys, then the window's parameter and display mode
        "LancioCorrente", "LancioCorrente", "LancioCorrente", "LancioCorrente", "LancioCorrente",
        // the dialog's load: the loading notice, the default order type and its delivery-note prefix
        "LeggiParametro Versione", "LeggiParametro DataVersione", "LeggiParametro Fat.DocOrd",
        "LeggiParametro Fat.ElePrefDdt", "LeggiParametro Fat.PrefDdt",
        "NomeTerminale", personale("Ordini", "DisabTermPrz"), "NomeTerminale", personale("Ordini", "DisabTermVisPrz"),
    };
    EXPECT_EQ(domande(p.menu().journal()), attese);

    const QStringList righe = p.menu().journalLines();
    EXPECT_TRUE(righe.contains(R"(chiamata Collega("MENU", "EVAORD", "") => Empty)"));
    EXPECT_TRUE(righe.contains(R"(chiamata InviaComando("AddSeg", "Tutti", Array(0: 27&, "demo")) => Empty)"));

    const auto fine = p.menu().command("FINE");
    ASSERT_TRUE(fine);
    EXPECT_TRUE(fine->sameAs(Variant(QString())));
    EXPECT_EQ(p.attendiFine(), 0);
    EXPECT_EQ(p.chiamate().last(), "Scollega");
    EXPECT_TRUE(p.dialoghi().isEmpty());
}

TEST(Avvio, AnOlderMenuGetsTheBareStartUpCodeAndTheProgramKeyIsSplit)
{
    ProgrammaDiProva p(EVASORD_PROG);
    p.parametroMenu("VersMenu", "1.06");
    p.config().switchP = "EVAORD sede2";
    p.avvia();
    ASSERT_TRUE(p.attendiAvvio());
    const QStringList righe = p.menu().journalLines();
    EXPECT_TRUE(righe.contains(R"(chiamata Collega("MENU", "EVAORD", "sede2") => Empty)"));
    EXPECT_TRUE(righe.contains(R"(chiamata InviaComando("AddSeg", "Tutti", 27&) => Empty)"));
    p.menu().command("fine");
    EXPECT_EQ(p.attendiFine(), 0);
}

// A fatal start-up: its message, a clean end, and nothing asked of the menu server after it.
struct Fatale {
    const char *nome;
    std::function<void(ProgrammaDiProva &)> prepara;
    QString messaggio; // the beginning of the one message shown
    bool rifiuta = false;
};

class AvvioFatale : public ::testing::TestWithParam<Fatale> {};

TEST_P(AvvioFatale, ShowsItsMessageAndEndsCleanly)
{
    const Fatale &f = GetParam();
    ProgrammaDiProva p(EVASORD_PROG);
    f.prepara(p);
    p.avvia(f.rifiuta);
    EXPECT_EQ(p.attendiFine(), 0);
    const QStringList testi = p.testiDialoghi();
    ASSERT_EQ(testi.size(), 1) << testi.join(" | ").toStdString();
    EXPECT_TRUE(testi.front().startsWith(f.messaggio)) << testi.front().toUtf8().constData();
    EXPECT_FALSE(p.chiamate().contains("NomeTerminale") && p.chiamate().contains("AddSeg"));
    for (const JournalEntry &e : p.menu().journal())
        EXPECT_FALSE(e.kind == JournalEntry::Kind::Chiamata && e.op == "LeggiParametro" && e.args.front().text().contains("DisabTerm"));
}

const Fatale kFatali[] = {
    {"SenzaServer", [](ProgrammaDiProva &) {},
     QStringLiteral("Il menu principale non è in esecuzione\r\nQuesto programma non può essere eseguito autonomamente"),
     true},
    {"SenzaIni",
     [](ProgrammaDiProva &p) { p.config().fileIni.clear(); },
     QStringLiteral("File ini non trovato\r\nSistemare e rieseguire")},
    {"SenzaDitta",
     [](ProgrammaDiProva &p) { p.parametroMenu("NomeDBAzie", p.cartella() + "/manca.db"); },
     QStringLiteral("Errore(3024): ")},
    {"DittaRovinata",
     [](ProgrammaDiProva &p) {
         scriviFile(p.cartella() + "/rovinata.db", QByteArray(4096, 'x'));
         p.parametroMenu("NomeDBAzie", p.cartella() + "/rovinata.db");
     },
     QStringLiteral("Errore nell'apertura del database ")},
    {"FormInesistente",
     [](ProgrammaDiProva &p) { p.config().switchF = "frmAltro"; },
     QStringLiteral("La form richiesta e' inesistente")},
    // zone 3: the error's own description, without its source
    {"ErroreDelMenu",
     [](ProgrammaDiProva &p) {
         p.primaDellAvvio([](MenuServerControl &m) { m.failCall("FileIni", 13, "Tipo non corrispondente"); });
     },
     QStringLiteral("Errore (13): Tipo non corrispondente\r\nProbabilmente il menù non è stato avviato correttamente")},
    // the link lost in the middle of the start-up: its own message, once
    {"MenuPersoAllAvvio",
     [](ProgrammaDiProva &p) { p.primaDellAvvio([](MenuServerControl &m) { m.dropOnCall("FileIni"); }); },
     QStringLiteral("Il menu principale non è in esecuzione\r\nQuesto programma non può essere eseguito autonomamente")},
};

INSTANTIATE_TEST_SUITE_P(Avvio, AvvioFatale, ::testing::ValuesIn(kFatali),
                         [](const ::testing::TestParamInfo<Fatale> &i) { return std::string(i.param.nome); });

TEST(Avvio, WithoutAServerNothingIsAsked)
{
    ProgrammaDiProva p(EVASORD_PROG);
    p.avvia(true);
    EXPECT_EQ(p.attendiFine(), 0);
    EXPECT_TRUE(p.chiamate().isEmpty());
}

TEST(Avvio, ARefusedLoginEndsAfterItsMessage)
{
    const auto server = pgServer();
    if (!server) {
        if (pgRequired())
            FAIL() << "PostgreSQL richiesto";
        GTEST_SKIP() << "nessun server PostgreSQL";
    }
    ProgrammaDiProva p(EVASORD_PROG);
    p.parametroMenu("NomeDBAzie", QStringLiteral("ODBC;DRIVER={%1};SERVER=%2;PORT=%3;DATABASE=postgres;UID=%4")
                                      .arg(server->driver, server->host)
                                      .arg(server->port)
                                      .arg(server->user));
    p.parametroMenu("PwdDbAzie", "password-sbagliata");
    p.avvia();
    EXPECT_EQ(p.attendiFine(), 0);
    const QStringList testi = p.testiDialoghi();
    ASSERT_EQ(testi.size(), 1) << testi.join(" | ").toStdString();
    EXPECT_TRUE(testi.front().startsWith("Errore(3059): ")) << testi.front().toStdString();
    EXPECT_FALSE(p.chiamate().contains("AddSeg"));
}

} // namespace
