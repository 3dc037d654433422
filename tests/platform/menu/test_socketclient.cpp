#include "apperror.h"
#include "guard.h"
#include "menufixture.h"
#include "menuresponder.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>

namespace {



TEST(SocketMenuClient, EveryCallRoundTripsWithItsTypes)
{
    MenuLinkFixture f;
    MenuClient &c = *f.client;
    c.Collega("menu1", "EVAORD", "");
    EXPECT_EQ(*c.InviaComando("PrepProcCorr", "Tutti").stringIf(), "proc-7");
    EXPECT_TRUE(c.InviaComando("AddSeg", "Tutti", Variant(arrayOf(0, {int32_t{27}, "proc-7"}))).isEmpty());
    EXPECT_TRUE(c.InviaComando("MsgBox", "Tutti", QString::fromUtf8("Errore(5): perché")).isEmpty());
    EXPECT_EQ(c.InviaComando("TastiCtrl", "Tutti", int16_t{65}).type(), Variant::Type::Long);
    EXPECT_EQ(*c.InviaComando("TastiCtrl", "Tutti", int16_t{-66}).stringIf(), "D testo");
    EXPECT_TRUE(c.InviaComando("TastiCtrl", "Tutti", int16_t{67}).isEmpty());

    const RichiestaLancio l = c.LancioCorrente();
    EXPECT_EQ(l.osParam, "/F frmEvasOrd /H \"/home/x/help.chm\"");
    c.PrepLancio("key2"); // secondary keys ignore letter case
    const RichiestaLancio l2 = c.LancioCorrente();
    EXPECT_EQ(l2.osChiLancia, "VENDITE");
    EXPECT_EQ(l2.osKeySecLancia, "SEC9");
    EXPECT_EQ(l2.osParamLancia, "ritorno");
    EXPECT_EQ(l2.osTipoForm, "2");

    EXPECT_EQ(c.FileIni(), "/etc/suite/suite.ini");
    EXPECT_EQ(c.DataLavoro(), Date::fromYmd(2024, 3, 15));
    EXPECT_EQ(c.NomeUtente(), "mario");
    EXPECT_EQ(c.NomeTerminale(), "PC01");

    EXPECT_EQ(*c.LeggiParametro("mag.gestaglie").stringIf(), "S");
    EXPECT_EQ(c.LeggiParametro("Mag.NumDecQta").type(), Variant::Type::Integer);
    const Variant empty = c.LeggiParametro("Vuoto");
    ASSERT_TRUE(empty.isText());
    EXPECT_TRUE(empty.stringIf()->isEmpty());
    EXPECT_TRUE(c.LeggiParametro("Fat.Nessuno").isEmpty());
    EXPECT_EQ(*c.LeggiParametro(MenuConfig::chiavePersonale("TUTTI", "massimizzato")).stringIf(), "PC01,");
    const Variant absent = c.LeggiParametro(MenuConfig::chiavePersonale("Tutti", "Manca"));
    ASSERT_TRUE(absent.isText());
    EXPECT_EQ(absent.stringIf()->toUtf8(), QByteArray("\xC2\xA7\xC3\xA7~$!^"));

    c.AggiungiPassaA("Evasione ordini", "frmEvasOrd", "SEC1");
    c.AttivaProgramma("VENDITE", "SEC9", "ritorno");
    c.FormChiusa("SEC1");
    c.MostraMenu("Tutti");
    c.Scollega();
    EXPECT_EQ(errorOf([&] { c.NomeUtente(); }), ErrNum::InvalidCall);

    const QStringList j = f.server.journalLines();
    const QStringList expected = {
        "connessione",
        R"(chiamata Collega("menu1", "EVAORD", "") => Empty)",
        R"(chiamata InviaComando("PrepProcCorr", "Tutti", Empty) => "proc-7")",
        R"(chiamata InviaComando("AddSeg", "Tutti", Array(0: 27&, "proc-7")) => Empty)",
        QString::fromUtf8(R"(chiamata InviaComando("MsgBox", "Tutti", "Errore(5): perché") => Empty)"),
        R"(chiamata InviaComando("TastiCtrl", "Tutti", 65%) => 1&)",
        R"(chiamata InviaComando("TastiCtrl", "Tutti", -66%) => "D testo")",
        R"(chiamata InviaComando("TastiCtrl", "Tutti", 67%) => Empty)",
        R"(chiamata LancioCorrente() => Array(0: "/F frmEvasOrd /H ""/home/x/help.chm""", "", "", "", "0"))",
        R"(chiamata PrepLancio("key2") => Empty)",
        R"(chiamata LancioCorrente() => Array(0: "/F frmEvasOrd", "VENDITE", "SEC9", "ritorno", "2"))",
        R"(chiamata FileIni() => "/etc/suite/suite.ini")",
        R"(chiamata DataLavoro() => #2024-03-15#)",
        R"(chiamata NomeUtente() => "mario")",
        R"(chiamata NomeTerminale() => "PC01")",
        R"(chiamata LeggiParametro("mag.gestaglie", "") => "S")",
        R"(chiamata LeggiParametro("Mag.NumDecQta", "") => 2%)",
        R"(chiamata LeggiParametro("Vuoto", "") => "")",
        R"(chiamata LeggiParametro("Fat.Nessuno", "") => Empty)",
        QString::fromUtf8(R"(chiamata LeggiParametro("Personal.TUTTI.§massimizzato", "") => "PC01,")"),
        QString::fromUtf8(R"(chiamata LeggiParametro("Personal.Tutti.§Manca", "") => "§ç~$!^")"),
        R"(chiamata AggiungiPassaA("Evasione ordini", "frmEvasOrd", "SEC1") => Empty)",
        R"(chiamata AttivaProgramma("VENDITE", "SEC9", "ritorno") => Empty)",
        R"(chiamata FormChiusa("SEC1") => Empty)",
        R"(chiamata MostraMenu("Tutti") => Empty)",
        R"(chiamata Scollega() => Empty)",
    };
    ASSERT_GE(j.size(), expected.size());
    EXPECT_EQ(j.mid(0, expected.size()), expected);
    EXPECT_EQ(f.server.messages(), QStringList{QString::fromUtf8("Errore(5): perché")});
}

TEST(SocketMenuClient, UserChangesBetweenCalls)
{
    MenuLinkFixture f;
    EXPECT_EQ(f.client->NomeUtente(), "mario");
    f.server.setUser("LUCIA");
    EXPECT_EQ(f.client->NomeUtente(), "LUCIA");
}

// What the program keeps of the server's answers: the user's name for the rest of the link,
// the parameters while it holds them; a value changed meanwhile on the server is seen once
// the hold is let go and taken again.
TEST(SocketMenuClient, KeptAnswersAreAskedOnceAndForgottenWhenLetGo)
{
    MenuLinkFixture f;
    MenuClient &c = *f.client;
    const auto chiamate = [&](const QString &op) { return f.server.calls().filter(op).size(); };
    c.TieniNomeUtente(true);
    EXPECT_EQ(c.NomeUtente(), "mario");
    f.server.setUser("LUCIA");
    EXPECT_EQ(c.NomeUtente(), "mario");
    EXPECT_EQ(chiamate("NomeUtente"), 1);
    c.TieniNomeUtente(false);
    EXPECT_EQ(c.NomeUtente(), "LUCIA");

    // outside a hold every read goes to the server
    EXPECT_EQ(*c.LeggiParametro("Mag.GesTaglie").stringIf(), "S");
    EXPECT_EQ(*c.LeggiParametro("Mag.GesTaglie").stringIf(), "S");
    EXPECT_EQ(chiamate("LeggiParametro"), 2);

    c.TieniParametri(true);
    const QString manca = QString::fromUtf8("Personal.Tutti.§Manca");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(*c.LeggiParametro("Mag.GesTaglie").stringIf(), "S");
        EXPECT_EQ(*c.LeggiParametro(manca).stringIf(), MenuClient::marcatoreAssente());
        EXPECT_TRUE(c.LeggiParametro("Fat.Nessuno").isEmpty());
        f.server.setParameter("Mag.GesTaglie", "N");
    }
    EXPECT_EQ(chiamate("LeggiParametro"), 5);
    // an answer that failed is not kept
    f.server.failCall("LeggiParametro", 7, "Memoria esaurita", 1);
    EXPECT_EQ(errorOf([&] { c.LeggiParametro("VersMenu"); }), 7);
    EXPECT_EQ(*c.LeggiParametro("VersMenu").stringIf(), "1.07");

    c.TieniParametri(false);
    EXPECT_EQ(*c.LeggiParametro("Mag.GesTaglie").stringIf(), "N");
    c.TieniParametri(true);
    f.server.setParameter("Mag.GesTaglie", "S");
    EXPECT_EQ(*c.LeggiParametro("Mag.GesTaglie").stringIf(), "S");
}

TEST(SocketMenuClient, ServerErrorsRaiseInTheCaller)
{
    MenuLinkFixture f;
    f.server.failCall("FileIni", 7, "Memoria esaurita", 1);
    try {
        f.client->FileIni();
        FAIL();
    } catch (const AppError &e) {
        EXPECT_EQ(e.number(), 7);
        EXPECT_EQ(e.description(), "Memoria esaurita");
    }
    // once only, and the link stays usable
    EXPECT_EQ(f.client->FileIni(), "/etc/suite/suite.ini");
    // a call the server does not know, or with the wrong arguments
    MenuResponder responder;
    EXPECT_EQ(errorOf([&] { responder.answer("Inesistente", {}); }), 438);
    EXPECT_EQ(errorOf([&] { responder.answer("NomeUtente", {"x"}); }), 450);
}

TEST(SocketMenuClient, AbsentServerRaisesFive)
{
    SocketMenuClient noName{QString()};
    EXPECT_EQ(errorOf([&] { noName.Collega("m", "p", ""); }), ErrNum::InvalidCall);
    SocketMenuClient missing{"/tmp/servermenu-inesistente-socket"};
    EXPECT_EQ(errorOf([&] { missing.Collega("m", "p", ""); }), ErrNum::InvalidCall);

    MenuServerControl server(sampleMenuConfig());
    server.refuseConnections(true);
    SocketMenuClient refused{server.socketName()};
    EXPECT_EQ(errorOf([&] { refused.Collega("m", "p", ""); }), ErrNum::InvalidCall);
    // a refused link stays closed: the program is not registered
    server.refuseConnections(false);
    EXPECT_EQ(errorOf([&] { refused.NomeUtente(); }), ErrNum::InvalidCall);
}

TEST(SocketMenuClient, DroppedOrSilentServerRaisesWithinTheTimeBound)
{
    MenuLinkFixture f;
    f.client->setTimeouts(1000, 400);
    f.client->Collega("m", "p", "");

    f.server.delayCall("NomeTerminale", 3000);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(errorOf([&] { f.client->NomeTerminale(); }), ErrNum::InvalidCall);
    EXPECT_LT(t.elapsed(), 2500);
    // the late answer is not taken for the next call's
    f.server.delayCall("NomeTerminale", 0);
    EXPECT_EQ(f.client->NomeUtente(), "mario");

    f.server.dropOnCall("FileIni");
    t.restart();
    EXPECT_EQ(errorOf([&] { f.client->FileIni(); }), ErrNum::InvalidCall);
    EXPECT_LT(t.elapsed(), 2500);
    EXPECT_FALSE(f.client->isConnected());
    EXPECT_EQ(errorOf([&] { f.client->NomeUtente(); }), ErrNum::InvalidCall);
}

TEST(SocketMenuClient, MalformedFrameFromTheServerClosesTheLink)
{
    MenuLinkFixture f;
    f.client->Collega("m", "p", "");
    bool delivered = false;
    QObject::connect(f.client.get(), &MenuClient::EseguiComando, [&](auto &&...) { delivered = true; });
    f.server.sendRaw(QByteArray("\x00\x00\x00\x03\x04\x00\x00", 7));
    EXPECT_TRUE(MenuServerControl::waitFor([&] { return !f.client->isConnected(); }, 3000));
    EXPECT_FALSE(delivered);
    EXPECT_EQ(errorOf([&] { f.client->NomeUtente(); }), ErrNum::InvalidCall);
}

// Counts the losses the client reports.
struct Perdite {
    explicit Perdite(MenuClient &c)
    {
        QObject::connect(&c, &MenuClient::CollegamentoPerso, [this](const QString &m) { motivi << m; });
    }
    QStringList motivi;
};

TEST(SocketMenuClient, ALostLinkIsToldOnceAndAnEndOfItsOwnIsNot)
{
    {
        MenuLinkFixture f;
        Perdite p(*f.client);
        f.client->Collega("m", "p", "");
        f.server.dropConnection();
        ASSERT_TRUE(MenuServerControl::waitFor([&] { return !p.motivi.isEmpty(); }, 3000));
        EXPECT_TRUE(f.client->Interrotto());
        // a later failed call is not a second loss
        EXPECT_EQ(errorOf([&] { f.client->NomeUtente(); }), ErrNum::InvalidCall);
        MenuServerControl::waitFor([] { return false; }, 100);
        EXPECT_EQ(p.motivi.size(), 1);
    }
    {
        // lost inside a call: the call raises, and the loss is told from the event loop after it
        MenuLinkFixture f;
        Perdite p(*f.client);
        f.client->Collega("m", "p", "");
        f.server.dropOnCall("FileIni");
        EXPECT_EQ(errorOf([&] { f.client->FileIni(); }), ErrNum::InvalidCall);
        EXPECT_TRUE(p.motivi.isEmpty());
        EXPECT_TRUE(MenuServerControl::waitFor([&] { return p.motivi.size() == 1; }, 3000));
    }
    {
        MenuLinkFixture f;
        Perdite p(*f.client);
        f.client->Collega("m", "p", "");
        f.client->Scollega();
        EXPECT_TRUE(f.server.waitUntilUnlinked(3000));
        MenuServerControl::waitFor([] { return false; }, 100);
        EXPECT_TRUE(p.motivi.isEmpty());
        EXPECT_FALSE(f.client->Interrotto());
    }
}

TEST(SocketMenuClient, AMessageThatNeverArrivesWholeBreaksTheLink)
{
    MenuLinkFixture f;
    f.client->setTimeouts(1000, 400);
    Perdite p(*f.client);
    bool delivered = false;
    QObject::connect(f.client.get(), &MenuClient::EseguiComando, [&](auto &&...) { delivered = true; });
    f.client->Collega("m", "p", "");
    // a length of 100 and ten bytes: the next messages would only fill it up
    f.server.sendRaw(QByteArray("\x00\x00\x00\x64\x04\x00\x00\x00\x01\x00\x00\x00\x00\x00", 14));
    f.server.sendCommand("fine");
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(MenuServerControl::waitFor([&] { return !p.motivi.isEmpty(); }, 3000));
    EXPECT_GE(t.elapsed(), 300);
    EXPECT_EQ(p.motivi, QStringList{"Messaggio del menu incompleto"});
    EXPECT_FALSE(delivered);

    // inside a call the same bound holds
    MenuLinkFixture g;
    g.client->setTimeouts(1000, 400);
    g.client->Collega("m", "p", "");
    g.server.delayCall("NomeUtente", 300);
    g.server.sendRaw(QByteArray("\x00\x00\x00\x64\x04", 5));
    MenuServerControl::waitFor([] { return false; }, 250); // the message has begun
    t.restart();
    EXPECT_EQ(errorOf([&] { g.client->NomeUtente(); }), ErrNum::InvalidCall);
    EXPECT_LT(t.elapsed(), 300);
    EXPECT_TRUE(g.client->Interrotto());
}

TEST(SocketMenuClient, CommandsWaitingTheirTurnAreBounded)
{
    // While a call waits, the server sends `n` commands; the call's error (0 when none), the
    // commands delivered after it and the losses told.
    struct Esito {
        int errore;
        int consegnati;
        QStringList perdite;
    };
    const auto inonda = [](size_t n) {
        MenuLinkFixture f;
        Perdite p(*f.client);
        int consegnati = 0;
        QObject::connect(f.client.get(), &MenuClient::EseguiComando, [&](auto &&...) { ++consegnati; });
        f.client->Collega("m", "p", "");
        f.server.delayCall("NomeUtente", 300);
        std::thread mittente([&] {
            f.server.waitForCall("NomeUtente", 3000);
            for (size_t i = 0; i < n; ++i)
                f.server.sendCommand("esiste");
        });
        const int errore = errorOf([&] { f.client->NomeUtente(); });
        mittente.join();
        MenuServerControl::waitFor([&] { return !p.motivi.isEmpty() || consegnati == int(n); }, 3000);
        return Esito{errore, consegnati, p.motivi};
    };
    const Esito troppi = inonda(SocketMenuClient::MaxPendingCommands + 1);
    EXPECT_EQ(troppi.errore, ErrNum::InvalidCall);
    EXPECT_EQ(troppi.consegnati, 0);
    ASSERT_EQ(troppi.perdite.size(), 1);
    EXPECT_TRUE(troppi.perdite.front().contains("troppi comandi in attesa"));

    const Esito tutti = inonda(SocketMenuClient::MaxPendingCommands);
    EXPECT_EQ(tutti.errore, 0);
    EXPECT_EQ(tutti.consegnati, int(SocketMenuClient::MaxPendingCommands));
    EXPECT_TRUE(tutti.perdite.isEmpty());
}

TEST(SocketMenuClient, CommandAnswerIsWhatTheHandlerLeaves)
{
    MenuLinkFixture f;
    f.client->Collega("menu1", "EVAORD", "");
    QString seenIdMenu, seenKey;
    QObject::connect(f.client.get(), &MenuClient::EseguiComando,
                     [&](const QString &idMenu, const QString &key, const QString &com, const Variant &param, Variant &ret) {
                         seenIdMenu = idMenu;
                         seenKey = key;
                         if (com == "esiste")
                             ret = true;
                         else if (com == "echo")
                             ret = param;
                     });
    const auto a = f.server.command("esiste", "SEC1");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->type(), Variant::Type::Boolean);
    EXPECT_TRUE(a->toBool());
    EXPECT_EQ(seenKey, "SEC1");
    const Variant fe(arrayOf(1, {int32_t{0}, "", Variant(), Variant(), Variant(), int32_t{1234}}));
    const auto e = f.server.command("echo", "", fe);
    ASSERT_TRUE(e);
    EXPECT_EQ(menuLiteral(*e), menuLiteral(fe));
    const auto none = f.server.command("nessuno");
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->isEmpty());
    EXPECT_TRUE(f.server.journalLines().contains(R"(comando esiste("SEC1", Empty) => True)"));
}

TEST(SocketMenuClient, CommandDuringACallIsDeliveredAfterIt)
{
    MenuLinkFixture f;
    f.client->Collega("m", "p", "");
    bool inCall = false;
    std::vector<QString> order;
    QObject::connect(f.client.get(), &MenuClient::EseguiComando,
                     [&](const QString &, const QString &, const QString &com, const Variant &, Variant &ret) {
                         order.push_back(com + (inCall ? " durante" : " dopo"));
                         ret = "ok";
                     });
    f.server.delayCall("NomeUtente", 300);
    // the server sends the command while the call waits for its answer
    std::thread sender([&] {
        f.server.waitForCall("NomeUtente", 3000);
        f.server.sendCommand("primo");
        f.server.sendCommand("secondo");
    });
    inCall = true;
    const QString user = f.client->NomeUtente();
    inCall = false;
    sender.join();
    EXPECT_EQ(user, "mario");
    EXPECT_TRUE(order.empty()); // nothing ran inside the call
    ASSERT_TRUE(MenuServerControl::waitFor([&] { return order.size() == 2; }, 3000));
    EXPECT_EQ(order, (std::vector<QString>{"primo dopo", "secondo dopo"}));
}

TEST(SocketMenuClient, HandlerCallsTheServerBackWithoutDeadlock)
{
    MenuLinkFixture f;
    f.client->Collega("m", "p", "");
    QObject::connect(f.client.get(), &MenuClient::EseguiComando,
                     [&](const QString &, const QString &key, const QString &com, const Variant &, Variant &ret) {
                         ret = "";
                         if (com == "preppassaa")
                             f.client->AggiungiPassaA("Evasione ordini", "frmEvasOrd", key);
                         else if (com == "utente")
                             ret = f.client->NomeUtente();
                     });
    const auto a = f.server.command("preppassaa", "SEC1");
    ASSERT_TRUE(a);
    EXPECT_EQ(*a->stringIf(), "");
    EXPECT_EQ(f.server.calls().filter("AggiungiPassaA").size(), 1);
    f.server.setUser("anna");
    EXPECT_EQ(*f.server.command("utente")->stringIf(), "anna");
}

TEST(SocketMenuClient, ScollegaInsideFineSendsTheAnswerFirst)
{
    MenuLinkFixture f;
    f.client->Collega("m", "p", "");
    QObject::connect(f.client.get(), &MenuClient::EseguiComando,
                     [&](const QString &, const QString &, const QString &com, const Variant &, Variant &ret) {
                         if (com == "fine") {
                             f.client->Scollega();
                             ret = "";
                         }
                     });
    const auto a = f.server.command("fine");
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->isText());
    EXPECT_TRUE(f.server.waitUntilUnlinked(3000));
    const QStringList j = f.server.journalLines();
    // the command's line is written when it is sent, the handler's call after it
    EXPECT_EQ(j.mid(j.size() - 3),
              (QStringList{R"(comando fine("", Empty) => "")", "chiamata Scollega() => Empty", "disconnessione"}));
}

TEST(SocketMenuClient, CommandsReachAnOpenModalDialog)
{
    MenuLinkFixture f;
    f.client->Collega("m", "p", "");
    bool duringModal = false;
    QObject::connect(f.client.get(), &MenuClient::EseguiComando,
                     [&](const QString &, const QString &, const QString &com, const Variant &, Variant &ret) {
                         duringModal = QApplication::activeModalWidget() != nullptr;
                         ret = duringModal ? QStringLiteral("Maschera Modal") : QString();
                         (void)com;
                     });
    QDialog dialog;
    std::optional<Variant> answer;
    QTimer::singleShot(0, &dialog, [&] {
        answer = f.server.command("fine");
        dialog.accept();
    });
    dialog.exec();
    ASSERT_TRUE(answer);
    EXPECT_TRUE(duringModal);
    EXPECT_EQ(*answer->stringIf(), "Maschera Modal");
}

TEST(SocketMenuClient, HandlerErrorsDoNotEscapeAndTheAnswerStillGoes)
{
    MenuLinkFixture f;
    f.client->Collega("m", "p", "");
    std::vector<int> reported;
    setUncaughtErrorReporter([&](const AppError &e) { reported.push_back(e.number()); });
    QObject::connect(f.client.get(), &MenuClient::EseguiComando,
                     [&](const QString &, const QString &, const QString &, const Variant &param, Variant &ret) {
                         ret = "";
                         ret = param.toArray().items.at(5); // a scalar raises 13
                     });
    const auto a = f.server.command("FEInvio", "", int32_t{3});
    setUncaughtErrorReporter({});
    ASSERT_TRUE(a);
    EXPECT_EQ(*a->stringIf(), "");
    EXPECT_EQ(reported, std::vector<int>{ErrNum::TypeMismatch});
}

} // namespace
