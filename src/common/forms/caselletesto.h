#pragma once
// A text box as the keyboard handling reads and edits it: its text, the selection (start and
// length in characters; the caret's position and 0 without a selection) and whether it holds
// several lines. Single-line boxes are QLineEdit, multi-line ones QTextEdit or QPlainTextEdit.
#include <QString>

class QWidget;

bool eCasellaTesto(const QWidget *w);
bool eMultiRiga(const QWidget *w);
QString TestoCasella(const QWidget *w);
void ImpostaTestoCasella(QWidget *w, const QString &testo);
int SelStart(const QWidget *w);
int SelLength(const QWidget *w);
QString SelText(const QWidget *w);
void Seleziona(QWidget *w, int inizio, int lunghezza);
// The selection replaced by the text (inserted at the caret when nothing is selected).
void SostituisciSelezione(QWidget *w, const QString &testo);
