#pragma once
// Start-up's opening of the company database: the main ini file, the choice of its database
// entry, the optional display of what is about to be opened, and the connection.
#include "rifoggetto.h"

#include <QString>

class ConnessioneDb;

// Finds the main ini file when gsFileIni is still empty (the first that exists of: switch "I"
// of the command line, "Setup"/"IniPrincipale" of the install ini, the library's program
// folder, the executable's folder & "/main/", the current folder, the executable's folder),
// lets the user choose among the entries listed under "Lista File Ini" when "NumIni" > 0,
// shows "Parametri letti:" when "VisParam" is "TUTTO" or "DB1" (No chooses again, Cancel ends),
// shows frmConn and connects with LoginDbSql into `conn` and `nomeConn`.
//
// True when the opening failed or the user gave up: the message has been shown and the close
// started with ChiudiPerErrore(True). A connection name that is empty or begins with "Err:" is
// a failed login whose message has been shown already.
bool ApriDbAzienda(const QString &nomeIni, const QString &iniInstallazione, RifOggetto<ConnessioneDb> &conn,
                   QString &nomeConn);
