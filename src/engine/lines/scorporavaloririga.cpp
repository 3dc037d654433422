#include "scorporavaloririga.h"

#include "apperror.h"
#include "calcoli.h"
#include "contesto.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <cmath>

namespace {

// Null and Empty count as 0; a text that is not a number raises 13.
double Numero(const Variant &v)
{
    return v.isBlank() ? 0.0 : v.toDouble();
}

} // namespace

bool IvaDaScorporare(const QString &tipoIva, const QString &prezziIvati)
{
    return (textEquals(tipoIva, u"0") || textEquals(tipoIva, u"1")) && textEquals(prezziIvati, u"S");
}

void ScorporaValoriRiga(const Variant &qta, const QString &tipoIva, const Variant &aliquota,
                        const QString &prezziIvati, int16_t decImporto, int16_t decUnitario,
                        const Variant & /*valUnitario*/, const Variant &importo, const Variant &importoLire,
                        const Variant &importoEuro, Variant &valUnitarioNetto, Variant &importoNetto,
                        Variant &importoLireNetto, Variant &importoEuroNetto)
{
    if (IvaDaScorporare(tipoIva, prezziIvati)) {
        importoNetto = ScorporaIva(importo, aliquota, decImporto);
        importoLireNetto = ScorporaIva(importoLire, aliquota, giNumDecPrzLire);
        importoEuroNetto = ScorporaIva(importoEuro, aliquota, giNumDecPrzEuro);
    } else {
        importoNetto = importo;
        importoLireNetto = importoLire;
        importoEuroNetto = importoEuro;
    }

    const double quantita = Numero(qta);
    if (quantita == 0.0) {
        valUnitarioNetto = importoNetto;
        return;
    }
    const double unitario = Numero(importoNetto) / quantita;
    if (!std::isfinite(unitario))
        throw AppError::standard(ErrNum::Overflow);
    valUnitarioNetto = Variant(UtilGenerali::ArrotondaValore(Variant(unitario), QStringLiteral("T"), 1.0, -decUnitario));
}
