#include "evasionemanuale.h"

#include "apperror.h"

namespace {
FabbricaEvasioneManuale &fabbrica()
{
    static FabbricaEvasioneManuale f;
    return f;
}
} // namespace

void ImpostaFrmEvaManu(FabbricaEvasioneManuale f) { fabbrica() = std::move(f); }

FormEvasioneManuale &frmEvaManu()
{
    if (!fabbrica())
        throw AppError(91, QStringLiteral("Variabile oggetto o variabile del blocco With non impostata"),
                       QStringLiteral("frmEvaManu"));
    return fabbrica()();
}
