#include "mostraform.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>

namespace {

// Ends the loop when the form is hidden or closed.
class FineModale : public QObject {
public:
    FineModale(QWidget *form, QEventLoop &ciclo) : m_ciclo(ciclo) { form->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Hide || e->type() == QEvent::Close) m_ciclo.quit();
        return false;
    }

private:
    QEventLoop &m_ciclo;
};

} // namespace

namespace UtilGenerali {

int32_t MostraForm(QWidget *form, int16_t statoFinestra, int16_t modale, bool)
{
    if (!form)
        return -1;
    switch (statoFinestra) {
    case 0: form->setWindowState(form->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)); break;
    case 1: form->setWindowState(form->windowState() | Qt::WindowMinimized); break;
    case 2: form->setWindowState((form->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized); break;
    default: break;
    }
    if (!modale) {
        form->show();
        form->raise();
        form->activateWindow();
        return 0;
    }
    const Qt::WindowModality prima = form->windowModality();
    if (!form->isVisible()) form->setWindowModality(Qt::ApplicationModal);
    QEventLoop ciclo;
    QPointer<QWidget> guardia(form);
    FineModale fine(form, ciclo);
    QObject::connect(form, &QObject::destroyed, &ciclo, &QEventLoop::quit);
    form->show();
    form->raise();
    form->activateWindow();
    if (guardia && guardia->isVisible())
        ciclo.exec(QEventLoop::DialogExec);
    if (guardia) {
        guardia->removeEventFilter(&fine);
        if (!guardia->isVisible()) guardia->setWindowModality(prima);
    }
    return 0;
}

bool ChiusuraImpedita()
{
    return QApplication::activeModalWidget() != nullptr;
}

} // namespace UtilGenerali
