#pragma once
// The program's forms as a whole: unloading them at the end, finding them by name, hiding the
// lookup windows, and the close attempt of the hidden main form's timer.
#include "variant.h"

#include <QString>
#include <optional>

// Unloads every loaded form, newest first, except those whose caption is `captionDaTenere`
// and the help window (caption "Aiuto"), which is closed last with its ChiudiAiuto. True when
// every other form is gone. A form that refuses to close stops the walk: the newest form still
// loaded is shown again (unless it is the first one loaded) and the answer is False. `esito` is
// 1 while the walk runs and 0 when it has finished; it stays 1 only when the help window
// refused to close.
bool ScaricaForms(int16_t &esito, const QString &captionDaTenere = QString());

// Whether a form of that Name (letter case ignored) is loaded.
bool FormCaricata(const QString &nome);
// The position of the first loaded form of that Name whose caption, when `parteCaption` is
// given, contains it (letter case ignored); -1 when none.
int16_t IndiceForm(const QString &nome, const std::optional<QString> &parteCaption = std::nullopt);

// Hides, newest first, every visible form whose property oiNoHelp is above 0, setting it to 2.
void NascondiForms();

// The close attempt: with flag 0 the program end (TerminaProgramma) starts at once; otherwise
// only when nothing holds the program open (UtilGenerali::ChiusuraImpedita: a modal window on
// the screen; an error while asking counts as nothing), and the flag becomes 0. True when the
// program end was started.
bool TentaChiusura(int16_t &flag);
