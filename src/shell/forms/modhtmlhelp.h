#pragma once
// Context help on F1 for every form: the topic of the control that has the focus (or of its
// nearest container with one, or of the form), the contents with Ctrl+F1, the index with
// Alt+F1. Controls, containers and forms carry their context id in the dynamic property
// "HelpContextID" (0 when not set).
#include "variant.h"

#include <QString>
#include <cstdint>

class QWidget;

inline constexpr int16_t kTastoF1 = 112;

// The application's help file, set at start-up from switch "H" of the launch request.
QString AppHelpFile();
void ImpostaAppHelpFile(const QString &file);

int32_t HelpContextID(const QWidget *w);
void ImpostaHelpContextID(QWidget *w, int32_t id);

// Handles F1 for the form: True when handled, and then the key code is set to 0. Any other
// key, or no help file, leaves the key code alone and answers False. A context id of -1
// takes the topic from the active control.
bool GestioneF1(int16_t &KeyCode, int16_t Shift, QWidget *form, int32_t contesto = -1);

// The help file: the application's, or for a name not ending in ".chm" the ".chm" of the
// same name when that file exists (else "").
QString FileHelp();
void HelpSommario(quintptr finestra, const QString &file, const QString &argomento = {},
                  const QString &nomeFinestra = {});
void HelpContesto(quintptr finestra, const QString &file, int32_t contesto, const QString &nomeFinestra = {});
// The keyword goes to the viewer as ANSI text ending in 0, at most 254 characters: a longer
// one raises 9 and shows nothing.
void HelpIndice(quintptr finestra, const QString &file, const QString &parolaChiave = {});

// The context id to show for the form: the active control's, else its nearest container's
// above 0, else the form's.
int32_t ContestoControllo(QWidget *form);
// The context id of the nearest container of the control that has one above 0 (up to the
// control's window), or 0.
int32_t ContestoContenitore(QWidget *controllo);
