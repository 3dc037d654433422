#pragma once
// The program end. It comes one way only: a close request, carried out at once or retried by
// the hidden main form's timer, leads to FineProgramma, which refuses while a modal window is
// open or a run is in progress and otherwise unloads every form and leaves the menu server.
// When the program's own window closes, control first goes back to the program that launched
// it, or to the menu.
#include <QString>
#include <functional>

class QWidget;

inline constexpr char kStatoModale[] = "Maschera Modal";

// Requests the end: at once (one attempt) or through the close timer (after 1 ms, then every
// 100 ms until it succeeds).
void RichiediChiusura(bool subito);
// Ends the program now; true when it ended. Refused ("Maschera Modal" in gsStatoModale) while
// a modal window is open or a run is in progress; the reason is cleared at each attempt. A
// close request refused because of a run (not the menu's "fine") is requested again, through
// the close timer, when the run ends.
bool FineProgramma();
// Releases the database objects and leaves the menu server. The menu link and the command
// sink are released once control is back in the event loop, so that a command being answered
// (the menu's "fine") still gets its answer to the server.
void ScollegaMenu();
// The program's window `form` is closing: back to its launching program or to the menu (when
// asked and not while the menu's "fine" is handled), then the close request and FormChiusa.
void RitornaAlChiamante(QWidget *form, bool ritorno);
// Asks the menu server to launch or bring forward a program.
void LanciaProgramma(const QString &keyProgramma, const QString &keySec, const QString &param);
// Brings the menu forward ("Il menu non è più disponibile" when the server does not answer).
void TornaAlMenu();
// Arms the close timer with flag 0: its next tick ends the program without asking the library.
bool ChiudiConTimer();

// What ends the process once the program has ended: by default the event loop is left (code
// 0) when control is back in it. Tests put their own; an empty function restores the default.
void impostaFineProcesso(std::function<void()> fine);
