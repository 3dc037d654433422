#include "fuoco.h"

#include "controlli.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>
#include <cstdlib>

namespace {

bool puoAvereFuoco(const QWidget *w)
{
    return w->isEnabled() && w->isVisible() && w->focusPolicy() != Qt::NoFocus;
}

QList<QWidget *> controlli(const QWidget *form)
{
    return form->findChildren<QWidget *>();
}

} // namespace

void SelezionaTesto()
{
    QWidget *attivo = QApplication::focusWidget();
    if (auto *e = qobject_cast<QLineEdit *>(attivo))
        e->setSelection(0, static_cast<int>(e->text().size()));
    else if (auto *t = qobject_cast<QTextEdit *>(attivo))
        t->selectAll();
    else if (auto *p = qobject_cast<QPlainTextEdit *>(attivo))
        p->selectAll();
}

bool SpostaFuoco(int16_t passo, const std::optional<int16_t> &shift)
{
    int step = passo;
    if (shift) {
        step = std::abs(step);
        if (*shift == 1)
            step = -step;
    }
    QWidget *attivo = QApplication::focusWidget();
    if (!attivo || !attivo->window())
        return false;
    const QWidget *form = attivo->window();
    const auto corrente = TabIndex(attivo);
    if (!corrente)
        return false;

    int massimo = -1;
    for (const QWidget *c : controlli(form)) {
        const auto i = TabIndex(c);
        if (i && TabStop(c).value_or(false) && *i > massimo)
            massimo = *i;
    }
    if (massimo < 0)
        return false;

    int obiettivo = *corrente + step;
    if (obiettivo > massimo)
        obiettivo = obiettivo - massimo - 1;
    else if (obiettivo < 0)
        obiettivo = massimo + obiettivo + 1;

    // Every position is tried once at the most (the active control may lie outside the walk).
    for (int tentativi = 0; tentativi <= massimo; ++tentativi) {
        QWidget *trovato = nullptr;
        for (QWidget *c : controlli(form)) {
            if (TabIndex(c) == obiettivo) {
                trovato = c;
                break;
            }
        }
        if (!trovato)
            return false;
        if (TabStop(trovato).value_or(false) && !ePictureBox(trovato) && puoAvereFuoco(trovato)) {
            trovato->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (step < 0) {
            obiettivo = obiettivo == 0 ? massimo : obiettivo - 1;
        } else {
            obiettivo = obiettivo == massimo ? 0 : obiettivo + 1;
            if (obiettivo > 32766)
                return false;
        }
        if (obiettivo == *corrente)
            return false;
    }
    return false;
}

Variant EseguiKeyUpAppo(QWidget *form, int16_t indice, int16_t codiceTasto, int16_t appoggio)
{
    const QString nome = appoggio != 0 ? QStringLiteral("txtAppo") : QStringLiteral("txt");
    QWidget *elemento = ElementoArray(form, nome, indice);
    if (!elemento)
        throw AppError(340, QStringLiteral("Elemento di matrice di controlli inesistente"), nome);
    elemento->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    const QByteArray gestore = (nome + QStringLiteral("_KeyUp")).toLatin1();
    if (!QMetaObject::invokeMethod(form, gestore.constData(), Q_ARG(int, indice), Q_ARG(int, codiceTasto),
                                   Q_ARG(int, 0)))
        throw erroreMetodoNonSupportato(QString::fromLatin1(gestore));
    return {};
}
