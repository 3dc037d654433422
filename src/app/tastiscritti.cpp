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
    bool clic = false;
};

const QString kClic = QStringLiteral("Clic");

QList<Tasto> leggiTasti(const QString &elenco)
{
    QList<Tasto> tasti;
    for (const QString &nome : elenco.split(u',', Qt::SkipEmptyParts)) {
        if (nome.trimmed() == kClic) {
            tasti << Tasto{Qt::Key_unknown, Qt::NoModifier, QString(), true};
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

// A click of the left button: on the current cell of a grid (its viewport takes the mouse),
// else in the middle of the control.
void clicca(QWidget *dove)
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
}

void premi(const Tasto &t)
{
    QWidget *dove = QApplication::focusWidget();
    if (!dove)
        dove = QApplication::activeWindow();
    if (!dove)
        return;
    if (t.clic) {
        clicca(dove);
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
