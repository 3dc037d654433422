#pragma once
// The program's switches as the menu server passes them and as the program reads them.
//
// On the command line each switch is two argv words: "/" with its letter, then its value
// (possibly empty), so a value that begins with "/" (an absolute path) is never taken for a
// switch:
//     argv = /M  menu1  /P  "EVAORD sede2"  /F  frmEvasOrd  /I  /etc/suite/suite.ini
// The program joins them into one switch text with rigaComando(): switch words stay bare;
// a value stays as it is unless it is empty, holds a blank or a double quote, or begins
// with "/", in which case it is written in double quotes with inner quotes doubled:
//     /M menu1 /P "EVAORD sede2" /F frmEvasOrd /I "/etc/suite/suite.ini"
// The launch request's osParam is a switch text of the same form, for instance
//     /F frmEvasOrd /H "/home/x/help.chm"
// and UtilGenerali::ValoreOpzione reads one switch (letter in any case) out of either.
#include <QChar>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

using Switches = std::vector<std::pair<QChar, QString>>;

// The argv words for the switches, in order.
QStringList argomentiSwitch(const Switches &switches);
// The switch text for the switches, in order.
QString testoSwitch(const Switches &switches);
// A value as the switch text writes it.
QString valoreSwitch(const QString &value);
// The switch text of a command line given as argv words (program name left out): words
// alternate switch and value; a word where a switch is due that is not "/" with one letter
// is kept as a value of its own.
QString rigaComando(const QStringList &argv);
