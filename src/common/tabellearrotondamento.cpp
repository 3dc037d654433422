#include "tabellearrotondamento.h"

#include "contesto.h"
#include "gestrecordset.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

const QString kNessuno = QStringLiteral("Nessuno");

bool eLire(const QString &lettera)
{
    return textEquals(lettera, u"L");
}

void carica(const QString &lettera, BandeArrotondamento &bande)
{
    bande.FinoA.clear();
    bande.ValArrot.clear();
    bande.TipoArrot.clear();
    GestRecordset rs;
    const QString alias =
        rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                QStringLiteral("Select * from") + (eLire(lettera) ? QStringLiteral(" ArrotLire") : QStringLiteral(" ArrotEuro")) +
                    QStringLiteral(" Order By FinoA"),
                false, dbOpenSnapshot);
    if (rs.NessunRecord(alias)) {
        bande.TipoArrot.push_back(kNessuno);
    } else {
        // The arrays grow with the rows read, whatever the set reports as its count.
        for (; !rs.Eof(alias); rs.MoveNext(alias)) {
            bande.FinoA.push_back(rs.LeggiCampo(alias, u"FinoA").toDouble());
            bande.ValArrot.push_back(rs.LeggiCampo(alias, u"ValArrot").toDouble());
            bande.TipoArrot.push_back(rs.LeggiCampo(alias, u"TipoArrot").text());
        }
    }
    rs.Chiudi(alias);
}

} // namespace

BandeArrotondamento &bandeLire()
{
    static BandeArrotondamento b;
    return b;
}

BandeArrotondamento &bandeEuro()
{
    static BandeArrotondamento b;
    return b;
}

void azzeraBandeArrotondamento()
{
    bandeLire() = {};
    bandeEuro() = {};
}

double ArrotDaTabella(const Variant &valore, const QString &lettera, BandeArrotondamento &bande)
{
    if (bande.caricato != 1 || bande.TipoArrot.empty())
        carica(lettera, bande);

    if (bande.TipoArrot.front() == kNessuno) {
        const int decimali = eLire(lettera) ? giNumDecPrzLire : giNumDecPrzEuro;
        return UtilGenerali::ArrotondaValore(valore, QStringLiteral("A"), 1.0, -decimali);
    }
    const double numero = UtilGenerali::ValoreNumerico(valore, false);
    size_t banda = bande.FinoA.size() - 1;
    for (size_t i = 0; i < bande.FinoA.size(); ++i) {
        if (numero <= bande.FinoA[i]) {
            banda = i;
            break;
        }
    }
    return UtilGenerali::ArrotondaValore(valore, bande.TipoArrot[banda], bande.ValArrot[banda]);
}

double ArrotValuta(const Variant &valore, const QString &lettera)
{
    if (eLire(lettera)) {
        const double r = ArrotDaTabella(valore, QStringLiteral("L"), bandeLire());
        bandeLire().caricato = 1;
        return r;
    }
    const double r = ArrotDaTabella(valore, QStringLiteral("E"), bandeEuro());
    bandeEuro().caricato = 1;
    return r;
}
