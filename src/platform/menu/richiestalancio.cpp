#include "richiestalancio.h"

#include "apperror.h"

Variant RichiestaLancio::toVariant() const
{
    VariantArray a;
    a.items = {osParam, osChiLancia, osKeySecLancia, osParamLancia, osTipoForm};
    return Variant(std::move(a));
}

RichiestaLancio RichiestaLancio::fromVariant(const Variant &v)
{
    if (!v.isArray() || v.toArray().items.size() != 5)
        throw AppError::standard(ErrNum::TypeMismatch, QStringLiteral("RichiestaLancio"));
    const auto &i = v.toArray().items;
    return RichiestaLancio{i[0].text(), i[1].text(), i[2].text(), i[3].text(), i[4].text()};
}
