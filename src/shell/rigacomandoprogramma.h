#pragma once
// The program's command line as one switch text ("/M menu1 /P "EVAORD sede2" /I ..."), read
// with UtilGenerali::ValoreOpzione.
#include <QString>
#include <optional>

QString RigaComando();
// A test sets the text the program reads in place of its real command line (nullopt: the real one).
void impostaRigaComando(std::optional<QString> testo);
