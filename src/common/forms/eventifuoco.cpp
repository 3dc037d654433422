#include "eventifuoco.h"

#include "guard.h"

#include <QEvent>
#include <QFocusEvent>
#include <QWidget>

namespace {

class EventiFuoco : public QObject {
public:
    EventiFuoco(QWidget *controllo, QEvent::Type tipo, std::function<void()> gestore)
        : QObject(controllo), m_tipo(tipo), m_gestore(std::move(gestore))
    {
        controllo->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *evento) override
    {
        if (evento->type() != QEvent::FocusIn && evento->type() != QEvent::FocusOut)
            return false;
        const Qt::FocusReason motivo = static_cast<QFocusEvent *>(evento)->reason();
        const bool finestra = motivo == Qt::ActiveWindowFocusReason || motivo == Qt::PopupFocusReason;
        bool conta = !finestra;
        if (evento->type() == QEvent::FocusOut) {
            // The window went away while the control held the focus: it comes back to it.
            m_sospeso = finestra && m_haFuoco;
            m_haFuoco = finestra && m_haFuoco;
        } else {
            if (finestra)
                conta = !m_sospeso; // otherwise the focus is the control's own (a window opening)
            m_sospeso = false;
            m_haFuoco = true;
        }
        if (conta && evento->type() == m_tipo)
            guarded(m_tipo == QEvent::FocusIn ? "GotFocus" : "LostFocus", [this] { m_gestore(); });
        return false;
    }

private:
    QEvent::Type m_tipo;
    std::function<void()> m_gestore;
    bool m_haFuoco = false;
    bool m_sospeso = false;
};

} // namespace

void SuGotFocus(QWidget *controllo, std::function<void()> gestore)
{
    new EventiFuoco(controllo, QEvent::FocusIn, std::move(gestore));
}

void SuLostFocus(QWidget *controllo, std::function<void()> gestore)
{
    new EventiFuoco(controllo, QEvent::FocusOut, std::move(gestore));
}
