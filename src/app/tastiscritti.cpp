#include "tastiscritti.h"

#include "formprogramma.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

namespace {

struct Tasto {
    Qt::Key tasto;
    Qt::KeyboardModifiers modificatori;
    QString testo;
    int clic = 0; // clicks of the mouse in place of a key: 1 or 2 (a double click)
};

const QString kClic = QStringLiteral("Clic");
const QString kDoppioClic = QStringLiteral("DoppioClic");
// the comma separates the keys of the list: the comma key goes by name
const QString kVirgola = QStringLiteral("Virgola");

QList<Tasto> leggiTasti(const QString &elenco)
{
    QList<Tasto> tasti;
    for (const QString &nome : elenco.split(u',', Qt::SkipEmptyParts)) {
        if (nome.trimmed() == kVirgola) {
            tasti << Tasto{Qt::Key_Comma, Qt::NoModifier, QStringLiteral(",")};
            continue;
        }
        if (nome.trimmed() == kClic || nome.trimmed() == kDoppioClic) {
            tasti << Tasto{Qt::Key_unknown, Qt::NoModifier, QString(), nome.trimmed() == kClic ? 1 : 2};
            continue;
        }
        const QKeySequence s = QKeySequence::fromString(nome.trimmed(), QKeySequence::PortableText);
        if (s.isEmpty())
            continue;
        const QKeyCombination k = s[0];
        Tasto t{k.key(), k.keyboardModifiers(), QString()};
        const bool comando = k.keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier);
        if (!comando && t.tasto >= Qt::Key_Space && t.tasto <= Qt::Key_AsciiTilde) {
            const QChar c(static_cast<char16_t>(t.tasto));
            t.testo = (k.keyboardModifiers() & Qt::ShiftModifier) ? c.toUpper() : c.toLower();
        }
        tasti << t;
    }
    return tasti;
}

// A click of the left button, or a double click: on the current cell of a grid (its viewport
// takes the mouse), else in the middle of the control.
void clicca(QWidget *dove, bool doppio)
{
    QPoint punto = dove->rect().center();
    if (auto *vista = qobject_cast<QAbstractItemView *>(dove); vista && vista->currentIndex().isValid()) {
        dove = vista->viewport();
        punto = vista->visualRect(vista->currentIndex()).center();
    }
    const QPointF locale(punto);
    const QPointF globale(dove->mapToGlobal(punto));
    QMouseEvent giu(QEvent::MouseButtonPress, locale, globale, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dove, &giu);
    QMouseEvent su(QEvent::MouseButtonRelease, locale, globale, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(dove, &su);
    if (!doppio)
        return;
    // the second press of a double click comes as the double click itself
    QPointer<QWidget> qui(dove);
    QMouseEvent doppioGiu(QEvent::MouseButtonDblClick, locale, globale, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dove, &doppioGiu);
    if (!qui)
        return;
    QMouseEvent doppioSu(QEvent::MouseButtonRelease, locale, globale, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(qui, &doppioSu);
}

// The windows that had the keys, latest last.
std::vector<QPointer<QWidget>> &finestreAttive()
{
    static std::vector<QPointer<QWidget>> finestre;
    return finestre;
}

// The window system's part, which the headless screen leaves undone: when the active window
// hides (a modal dialog closed, the progress notice of a run), the window that had the keys
// before it gets them back.
void riattiva()
{
    auto &finestre = finestreAttive();
    QWidget *attiva = QApplication::activeWindow();
    if (attiva && attiva->isVisible()) {
        if (finestre.empty() || finestre.back() != attiva)
            finestre.emplace_back(attiva);
        return;
    }
    while (!finestre.empty() && (!finestre.back() || !finestre.back()->isVisible()))
        finestre.pop_back();
    if (finestre.empty())
        return;
    finestre.back()->activateWindow();
    QCoreApplication::processEvents();
}

// Alt+Tab, the window system's own key: the window that had the keys before the active one
// becomes the active one.
void altraFinestra()
{
    const auto &finestre = finestreAttive();
    QWidget *attiva = QApplication::activeWindow();
    for (auto it = finestre.rbegin(); it != finestre.rend(); ++it) {
        if (*it && *it != attiva && (*it)->isVisible()) {
            (*it)->activateWindow();
            QCoreApplication::processEvents();
            return;
        }
    }
}

void premi(const Tasto &t)
{
    riattiva();
    if (t.tasto == Qt::Key_Tab && t.modificatori == Qt::AltModifier) {
        altraFinestra();
        return;
    }
    QWidget *dove = QApplication::focusWidget();
    if (!dove)
        dove = QApplication::activeWindow();
    if (!dove)
        return;
    if (t.clic > 0) {
        clicca(dove, t.clic == 2);
        return;
    }
    QKeyEvent giu(QEvent::KeyPress, t.tasto, t.modificatori, t.testo);
    QApplication::sendEvent(dove, &giu);
    QWidget *su = QApplication::focusWidget() ? QApplication::focusWidget() : dove;
    QKeyEvent rilascio(QEvent::KeyRelease, t.tasto, t.modificatori, t.testo);
    QApplication::sendEvent(su, &rilascio);
}

// The modal window that was up when each key still being handled was pressed, innermost last.
std::vector<QPointer<QWidget>> &modaliDeiTasti()
{
    static std::vector<QPointer<QWidget>> modali;
    return modali;
}

// A key still being handled lets events run (its handler processes them, or a modal window it
// opened waits for input): the next key goes to that modal window, else it waits for the
// handling to end, as the keys a user types ahead wait in the window system's queue.
bool inAttesa()
{
    const auto &modali = modaliDeiTasti();
    return !modali.empty() && QApplication::activeModalWidget() == modali.back();
}

// The next key is due before this one is handled: its handling may last (a modal window).
void premiDa(std::shared_ptr<QList<Tasto>> restanti)
{
    if (restanti->isEmpty())
        return;
    // what the window system still has to say of the key before (a window it showed becoming
    // the active one) comes first, as it would before a user's next key
    if (!inAttesa())
        QCoreApplication::processEvents();
    if (inAttesa()) {
        QTimer::singleShot(100, QApplication::instance(), [restanti] { premiDa(restanti); });
        return;
    }
    const Tasto t = restanti->takeFirst();
    QTimer::singleShot(100, QApplication::instance(), [restanti] { premiDa(restanti); });
    modaliDeiTasti().emplace_back(QApplication::activeModalWidget());
    premi(t);
    modaliDeiTasti().pop_back();
}

} // namespace

void AvviaTastiScritti()
{
    const QList<Tasto> tasti = leggiTasti(qEnvironmentVariable(kTastiScrittiEnv));
    if (tasti.isEmpty())
        return;
    auto *attesa = new QTimer(QApplication::instance());
    attesa->setInterval(50);
    QObject::connect(attesa, &QTimer::timeout, [attesa, tasti] {
        QWidget *finestra = QApplication::activeWindow();
        if (!finestra || !formProgramma(finestra) || !finestra->isVisible())
            return;
        attesa->stop();
        attesa->deleteLater();
        // One key at a time once the window has settled; a key that opens a modal window leaves
        // the next ones to it, as a user typing on would.
        QTimer::singleShot(300, QApplication::instance(), [tasti] { premiDa(std::make_shared<QList<Tasto>>(tasti)); });
    });
    attesa->start();
}
