#include "controlli.h"

#include <QLabel>
#include <QWidget>

std::optional<int> TabIndex(const QWidget *controllo)
{
    const QVariant v = controllo->property("TabIndex");
    if (!v.isValid())
        return std::nullopt;
    return v.toInt();
}

std::optional<bool> TabStop(const QWidget *controllo)
{
    const QVariant v = controllo->property("TabStop");
    if (v.isValid())
        return v.toBool();
    if (qobject_cast<const QLabel *>(controllo))
        return std::nullopt;
    return (controllo->focusPolicy() & Qt::TabFocus) != 0;
}

bool ePictureBox(const QWidget *controllo)
{
    return controllo->property("PictureBox").toBool();
}

QWidget *ElementoArray(const QWidget *form, const QString &nome, int indice)
{
    for (QWidget *w : form->findChildren<QWidget *>(nome)) {
        const QVariant i = w->property("Index");
        if (i.isValid() && i.toInt() == indice)
            return w;
    }
    return nullptr;
}

AppError erroreMetodoNonSupportato(const QString &nome)
{
    return AppError(438, QStringLiteral("Proprietà o metodo non supportati dall'oggetto"), nome);
}
