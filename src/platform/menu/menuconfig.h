#pragma once
// What the stand-in menu server knows: the company's menu parameters, the user's personal
// parameters, who and where the user is, the launch requests and how to start the program.
// Shared by the stand-in server and the in-process client.
#include "richiestalancio.h"
#include "variant.h"

#include <QString>
#include <map>
#include <optional>

struct CaseInsensitiveLess {
    bool operator()(const QString &a, const QString &b) const { return a.compare(b, Qt::CaseInsensitive) < 0; }
};

template <typename T>
using MapNoCase = std::map<QString, T, CaseInsensitiveLess>;

struct MenuConfig {
    // Menu keys ("Mag.GesTaglie") and personal keys ("Personal." + section + ".§" + name).
    MapNoCase<Variant> parametri;
    QString utente;
    QString terminale;
    Date dataLavoro = Date::today();
    QString fileIni;
    QString procCorrente; // answer to "PrepProcCorr"
    // Launch request current when the program starts, and those that PrepLancio selects by
    // secondary key.
    RichiestaLancio lancio;
    MapNoCase<RichiestaLancio> lanci;
    // Answers to "TastiCtrl" by key code; a code not listed answers Empty (not handled).
    std::map<int16_t, Variant> tastiCtrl;

    // How the server starts the program: its path and the command-line switches it gets
    // (a switch left unset is not passed).
    QString programma;
    std::optional<QString> switchM, switchP, switchF, switchI;

    static QString chiavePersonale(const QString &sezione, const QString &nome);
    void impostaPersonale(const QString &sezione, const QString &nome, const Variant &valore);
};
