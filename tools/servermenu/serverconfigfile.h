#pragma once
// The stand-in menu server's configuration file: a plain ini text (UTF-8; sections and keys
// ignore letter case; ";" begins a comment line; one pair of enclosing quotes is removed).
//
//   [Server]
//   Utente=mario                    ; NomeUtente (a test may change it while running)
//   Terminale=PC01                  ; NomeTerminale
//   DataLavoro=15/03/2024           ; DataLavoro (dd/mm/yyyy or yyyy-mm-dd; today when absent)
//   FileIni=/etc/suite/suite.ini    ; FileIni
//   ProcCorrente=                   ; answer to InviaComando "PrepProcCorr"
//   Giornale=/tmp/giornale.txt      ; journal file, one line per entry (program only)
//
//   [Programma]                     ; how the server starts the program
//   Percorso=/opt/suite/evasord
//   M=menu1                         ; each switch present is passed, even when empty
//   P=EVAORD sede2
//   F=frmEvasOrd
//   I=/etc/suite/suite.ini
//
//   [Lancio]                        ; the launch request current when the program starts
//   Param=/F frmEvasOrd /H "/home/x/help.chm"
//   ChiLancia=
//   KeySecLancia=
//   ParamLancia=
//   TipoForm=0
//
//   [Lancio KEY2]                   ; the request that PrepLancio("KEY2") makes current
//   Param=/F frmEvasOrd
//
//   [ParametriMenu]                 ; LeggiParametro of menu keys
//   Mag.GesTaglie=S
//   Mag.NumDecQta=@Integer 2
//
//   [ParametriPersonali]            ; Sezione.Nome: the key "Personal.Sezione.§Nome"
//   Tutti.Massimizzato=PC01,
//
//   [TastiCtrl]                     ; key code = answer to InviaComando "TastiCtrl"
//   65=1
//   -66=D testo
//
// A value is text, except when it begins with "@": "@Empty", "@Null", "@Boolean True",
// "@Integer 2", "@Long 27", "@Double 1.5", "@Currency 12.34", "@Date 15/03/2024" give those
// types, and "@@..." the text "@...". An unreadable typed value raises 13 naming its key.
#include "menuconfig.h"

#include <QString>

struct ServerMenuFile {
    MenuConfig config;
    QString giornale;
};

// Raises 53 when the file does not exist, 13 for an unreadable value.
ServerMenuFile leggiFileServerMenu(const QString &path);
ServerMenuFile leggiTestoServerMenu(const QString &text);

// A configuration value as the file writes it.
Variant valoreConfigurazione(const QString &text);
