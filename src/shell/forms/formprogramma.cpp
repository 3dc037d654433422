#include "formprogramma.h"

#include <map>

namespace {

std::map<QString, FabbricaForm> &registro()
{
    static std::map<QString, FabbricaForm> r;
    return r;
}

} // namespace

FormProgramma *formProgramma(QWidget *form)
{
    return dynamic_cast<FormProgramma *>(form);
}

void RegistraFormProgramma(const QString &nome, FabbricaForm fabbrica)
{
    registro()[nome.toLower()] = std::move(fabbrica);
}

std::unique_ptr<QWidget> CreaFormProgramma(const QString &nome)
{
    const auto it = registro().find(nome.toLower());
    if (it == registro().end() || !it->second)
        return nullptr;
    return it->second();
}
