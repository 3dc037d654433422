#pragma once
// The program's loaded forms in the order they were loaded, as the run-time's Forms collection
// held them: position 0 is the first form loaded. A form's Name is its objectName, its Caption
// its window title.
//
// A form is loaded by handing it to the collection, which owns it from then on; unloading asks
// it to close (its closeEvent may refuse, as a form cancelling its unload did) and, when it
// closes, takes it out of the collection and releases it once control is back in the event loop.
#include <QList>
#include <QString>
#include <memory>

class QWidget;

namespace Forms {

// Loads the form: appended to the collection, which owns it. Returns the form.
QWidget *Carica(std::unique_ptr<QWidget> form);
int Count();
// The form at the position, nullptr outside the collection.
QWidget *Item(int posizione);
QList<QWidget *> Elenco();
// Unloads the form; true when it is gone (also when it was not loaded).
bool Scarica(QWidget *form);

} // namespace Forms

QString NomeForm(const QWidget *form);
QString CaptionForm(const QWidget *form);
