#pragma once
// A stand-in server with a typical configuration, and a socket client on the test's thread.
#include "menuservercontrol.h"
#include "socketmenuclient.h"

#include "apperror.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << "\n";
    for (const QString &s : l)
        *os << "  " << s.toStdString() << "\n";
}

inline MenuConfig sampleMenuConfig()
{
    MenuConfig c;
    c.utente = "mario";
    c.terminale = "PC01";
    c.dataLavoro = Date::fromYmd(2024, 3, 15);
    c.fileIni = "/etc/suite/suite.ini";
    c.procCorrente = "proc-7";
    c.parametri["Mag.GesTaglie"] = "S";
    c.parametri["Mag.NumDecQta"] = int16_t{2};
    c.parametri["VersMenu"] = "1.07";
    c.parametri["Vuoto"] = "";
    c.impostaPersonale("Tutti", "Massimizzato", "PC01,");
    c.lancio = RichiestaLancio{"/F frmEvasOrd /H \"/home/x/help.chm\"", "", "", "", "0"};
    c.lanci["KEY2"] = RichiestaLancio{"/F frmEvasOrd", "VENDITE", "SEC9", "ritorno", "2"};
    c.tastiCtrl[65] = int32_t{1};
    c.tastiCtrl[-66] = "D testo";
    return c;
}

struct MenuLinkFixture {
    MenuServerControl server{sampleMenuConfig()};
    std::unique_ptr<SocketMenuClient> client = std::make_unique<SocketMenuClient>(server.socketName());
};

// The number of the AppError that `f` raises, 0 when it raises none.
inline int errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const AppError &e) {
        return e.number();
    }
    return 0;
}

inline VariantArray arrayOf(int32_t lowerBound, std::vector<Variant> items)
{
    VariantArray a;
    a.lowerBound = lowerBound;
    a.items = std::move(items);
    return a;
}
