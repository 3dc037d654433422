#include "forms.h"

#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace {

std::vector<QPointer<QWidget>> &caricate()
{
    static std::vector<QPointer<QWidget>> f;
    // A form released some other way leaves the collection.
    std::erase_if(f, [](const QPointer<QWidget> &p) { return p.isNull(); });
    return f;
}

} // namespace

namespace Forms {

QWidget *Carica(std::unique_ptr<QWidget> form)
{
    QWidget *w = form.release(); // owned by the collection until it is unloaded
    caricate().emplace_back(w);
    return w;
}

int Count()
{
    return static_cast<int>(caricate().size());
}

QWidget *Item(int posizione)
{
    auto &f = caricate();
    if (posizione < 0 || posizione >= static_cast<int>(f.size()))
        return nullptr;
    return f[static_cast<size_t>(posizione)];
}

QList<QWidget *> Elenco()
{
    QList<QWidget *> out;
    for (const auto &p : caricate())
        out << p.data();
    return out;
}

bool Scarica(QWidget *form)
{
    auto &f = caricate();
    const auto it = std::find(f.begin(), f.end(), form);
    if (it == f.end())
        return true;
    if (!form->close())
        return false;
    caricate().erase(std::find(caricate().begin(), caricate().end(), form));
    form->deleteLater();
    return true;
}

} // namespace Forms

QString NomeForm(const QWidget *form)
{
    return form ? form->objectName() : QString();
}

QString CaptionForm(const QWidget *form)
{
    return form ? form->windowTitle() : QString();
}
