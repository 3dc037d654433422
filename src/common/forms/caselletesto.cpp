#include "caselletesto.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextEdit>

namespace {

QTextCursor cursore(const QWidget *w)
{
    if (const auto *t = qobject_cast<const QTextEdit *>(w))
        return t->textCursor();
    if (const auto *p = qobject_cast<const QPlainTextEdit *>(w))
        return p->textCursor();
    return {};
}

void impostaCursore(QWidget *w, const QTextCursor &c)
{
    if (auto *t = qobject_cast<QTextEdit *>(w))
        t->setTextCursor(c);
    else if (auto *p = qobject_cast<QPlainTextEdit *>(w))
        p->setTextCursor(c);
}

} // namespace

bool eMultiRiga(const QWidget *w)
{
    return qobject_cast<const QTextEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w);
}

bool eCasellaTesto(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || eMultiRiga(w);
}

QString TestoCasella(const QWidget *w)
{
    if (const auto *e = qobject_cast<const QLineEdit *>(w))
        return e->text();
    if (const auto *t = qobject_cast<const QTextEdit *>(w))
        return t->toPlainText();
    if (const auto *p = qobject_cast<const QPlainTextEdit *>(w))
        return p->toPlainText();
    return {};
}

void ImpostaTestoCasella(QWidget *w, const QString &testo)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        e->setText(testo);
    else if (auto *t = qobject_cast<QTextEdit *>(w))
        t->setPlainText(testo);
    else if (auto *p = qobject_cast<QPlainTextEdit *>(w))
        p->setPlainText(testo);
}

int SelStart(const QWidget *w)
{
    if (const auto *e = qobject_cast<const QLineEdit *>(w))
        return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    return cursore(w).selectionStart();
}

int SelLength(const QWidget *w)
{
    if (const auto *e = qobject_cast<const QLineEdit *>(w))
        return e->hasSelectedText() ? static_cast<int>(e->selectedText().size()) : 0;
    const QTextCursor c = cursore(w);
    return c.selectionEnd() - c.selectionStart();
}

QString SelText(const QWidget *w)
{
    if (const auto *e = qobject_cast<const QLineEdit *>(w))
        return e->selectedText();
    return cursore(w).selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

void Seleziona(QWidget *w, int inizio, int lunghezza)
{
    if (auto *e = qobject_cast<QLineEdit *>(w)) {
        e->setSelection(inizio, lunghezza);
        return;
    }
    QTextCursor c = cursore(w);
    c.setPosition(inizio);
    c.setPosition(inizio + lunghezza, QTextCursor::KeepAnchor);
    impostaCursore(w, c);
}

void SostituisciSelezione(QWidget *w, const QString &testo)
{
    if (auto *e = qobject_cast<QLineEdit *>(w)) {
        e->insert(testo);
        return;
    }
    QTextCursor c = cursore(w);
    c.insertText(testo);
    impostaCursore(w, c);
}
