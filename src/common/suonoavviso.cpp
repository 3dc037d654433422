#include "suonoavviso.h"

#include "contesto.h"
#include "suoni.h"
#include "suonowav.h"
#include "utilgenerali.h"
#include "winpaths.h"

#include <algorithm>

void SuonoAvviso()
{
    if (UtilGenerali::Vuoto(Variant(gsBeepCome), 8, 1, false)) {
        suoni().BeepPredefinito();
        return;
    }
    const qsizetype pv = gsBeepCome.indexOf(QLatin1Char(';'));
    const QString primo = pv < 0 ? gsBeepCome : gsBeepCome.left(pv);
    QString secondo = pv < 0 ? QString() : gsBeepCome.mid(pv + 1);
    if (!Variant(primo).isNumeric()) {
        suoni().SuonaFile(mapWindowsPath(primo));
        return;
    }
    if (secondo.isEmpty())
        secondo = QStringLiteral("20");
    if (UtilGenerali::ValoreIntero(Variant(primo), true) > 0) {
        const int32_t durata = std::clamp(Variant(secondo).toLong(), 0, kDurataMassimaSuonoMs);
        suoni().Beep(Variant(primo).toLong(), durata);
        return;
    }
    const auto frequenza = static_cast<float>(UtilGenerali::ValoreSingolo(Variant(primo), true));
    const int32_t durata = UtilGenerali::ValoreLong(Variant(secondo), true);
    suoni().SuonaImmagine(CreaSuonoWav(frequenza, durata));
}
