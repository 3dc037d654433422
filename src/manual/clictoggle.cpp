#include "clictoggle.h"

#include "textcompare.h"

namespace {
const QString kS = QStringLiteral("S");
const QString kN = QStringLiteral("N");
bool si(const QString &f) { return textEquals(f, kS); }
} // namespace

namespace clicFlag {

QString Inverti(const QString &flag)
{
    return si(flag) ? kN : kS;
}

FlagOrdine Testata(const QString &campo, const FlagOrdine &attuale, const QString &consTotale)
{
    FlagOrdine f = attuale;
    if (textEquals(campo, u"Selez")) {
        if (si(f.selez)) {
            f.evadeTutto = kN;
            f.selez = kN;
        } else {
            f.selez = kS;
            if (si(consTotale))
                f.evadeTutto = kS;
        }
    } else if (textEquals(campo, u"EvadeTutto")) {
        if (si(f.evadeTutto)) {
            f.evadeTutto = kN;
            if (si(consTotale))
                f.selez = kN;
        } else {
            f.evadeTutto = kS;
            f.selez = kS;
        }
    }
    return f;
}

QString ASaldo(const QString &attuale, const QString &livello1)
{
    if (textEquals(livello1, u"*liv") && !si(attuale))
        return {};
    return Inverti(attuale);
}

} // namespace clicFlag
