#pragma once
// How the program's forms describe their controls to the common services.
//
// - Tab order: a control takes part when it has the dynamic property "TabIndex" (a whole
//   number). It is a tab stop when its property "TabStop" is true; without that property a
//   label is no tab stop and any other control is one when it takes the focus by Tab.
// - A picture box (property "PictureBox" true) never gets the focus from the tab walk.
// - Control arrays: the elements share the objectName of the array ("txt") and carry their
//   number in the property "Index".
// - Handlers called by name are Q_INVOKABLE slots of the form (txt_KeyUp(int index, int
//   keyCode, int shift)).
#include "apperror.h"

#include <QString>
#include <optional>

class QWidget;

// The TabIndex of the control, nullopt when it takes no part in the tab order.
std::optional<int> TabIndex(const QWidget *controllo);
// Whether the control is a tab stop (nullopt when it has no such property, as a label).
std::optional<bool> TabStop(const QWidget *controllo);
bool ePictureBox(const QWidget *controllo);
// The element `indice` of the form's control array `nome`; nullptr when there is none.
QWidget *ElementoArray(const QWidget *form, const QString &nome, int indice);

// The run-time's error for a form without the method or property asked by name (438).
AppError erroreMetodoNonSupportato(const QString &nome);
