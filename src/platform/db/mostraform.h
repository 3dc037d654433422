#pragma once
// The library's form display, for the program's forms (Qt Widgets).
#include <QWidget>
#include <cstdint>

namespace UtilGenerali {

// Shows the form: window state 0 normal, 1 minimised, 2 maximised, -1 as it is; `modale` 1
// shows it modally and returns only once the form is hidden, closed or destroyed (the event
// loop runs meanwhile, as for any modal window). 0 when shown, -1 without a form.
int32_t MostraForm(QWidget *form, int16_t statoFinestra = -1, int16_t modale = 0, bool opzione = false);

// True while a modal window is open: the program must not end under it.
bool ChiusuraImpedita();

} // namespace UtilGenerali
