#include "evasionemanuale.h"

#include "apperror.h"

namespace {
FabbricaEvasioneManuale &fabbrica()
{
    static FabbricaEvasioneManuale f;
    return f;
}

int gAperte = 0;
} // namespace

void ImpostaFrmEvaManu(FabbricaEvasioneManuale f) { fabbrica() = std::move(f); }

FormEvasioneManuale &frmEvaManu()
{
    if (!fabbrica())
        throw AppError(91, QStringLiteral("Variabile oggetto o variabile del blocco With non impostata"),
                       QStringLiteral("frmEvaManu"));
    return fabbrica()();
}

void FormEvasioneManuale::SegnaAperta(bool aperta)
{
    gAperte += aperta ? 1 : -1;
}

bool EvasioneManualeAperta() { return gAperte > 0; }
