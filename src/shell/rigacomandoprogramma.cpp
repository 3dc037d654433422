#include "rigacomandoprogramma.h"

#include "rigacomando.h"

#include <QCoreApplication>

namespace {

std::optional<QString> &sostituto()
{
    static std::optional<QString> s;
    return s;
}

} // namespace

QString RigaComando()
{
    if (sostituto())
        return *sostituto();
    if (!QCoreApplication::instance())
        return {};
    return rigaComando(QCoreApplication::arguments().mid(1));
}

void impostaRigaComando(std::optional<QString> testo)
{
    sostituto() = std::move(testo);
}
