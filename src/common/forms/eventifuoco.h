#pragma once
// The focus events of a control as the forms handle them (GotFocus, LostFocus): only moves of
// the focus between controls count. A window losing or regaining the activation, or a popup or a
// modal box opening over it, is no focus change of the control: a check run when a field is left
// may show a message without being run again by it.
#include <functional>

class QWidget;

// The handler runs on the UI thread; an error escaping it is reported, not raised (guarded).
void SuGotFocus(QWidget *controllo, std::function<void()> gestore);
void SuLostFocus(QWidget *controllo, std::function<void()> gestore);
