#include "campodata.h"

#include "colori.h"
#include "contesto.h"
#include "dialoghi.h"
#include "utilgenerali.h"

#include <QLineEdit>
#include <cmath>

namespace {

void rifiuta(const QString &testo, bool mostra, Variant *messaggio)
{
    if (mostra)
        dialoghi().MsgBox(testo, PulsantiMsg::Ok, IconaMsg::Esclamazione, QString());
    if (messaggio)
        *messaggio = Variant(testo);
}

template <typename F>
void ignoraErrori(F &&passo)
{
    try {
        passo();
    } catch (...) {
    }
}

} // namespace

int32_t ControllaData(QLineEdit *casella, const Variant &codiceData, bool mostraMessaggio, Variant *messaggio)
{
    const QString testo = casella->text().trimmed();
    if (UtilGenerali::Vuoto(Variant(testo), 7)) {
        if (Variant::compare(codiceData, Variant(int16_t(-4))) == 0) {
            rifiuta(QStringLiteral("Data obbligatoria"), mostraMessaggio, messaggio);
            return kDataRifiutata;
        }
        return 0;
    }
    const auto data = Date::parse(testo);
    if (!data) {
        rifiuta(QStringLiteral("Data non valida"), mostraMessaggio, messaggio);
        return kDataNonValida;
    }
    casella->setText(data->dateOnly().toString());
    return static_cast<int32_t>(std::floor(data->serial()));
}

int32_t ControllaCampoData(QLineEdit *casella, const Variant &codiceData, int16_t modoSegnala,
                           const std::optional<Variant> &coloreNormale, Variant *messaggio, bool mostraMessaggio)
{
    const Variant normale = coloreNormale.value_or(Variant(glColNormale));
    int32_t codice = 0;
    bool segna = false;
    ignoraErrori([&] { codice = ControllaData(casella, codiceData, mostraMessaggio, messaggio); });

    if (codice == kDataNonValida || codice == kDataRifiutata) {
        segna = true;
    } else {
        ignoraErrori([&] {
            const Variant testo(casella->text());
            if (UtilGenerali::Vuoto(testo, 8, 1, false) || UtilGenerali::Vuoto(Variant(gsDataMinima), 8, 1, false)) {
                ImpostaBackColor(casella, normale.toLong());
                return;
            }
            const Variant data = UtilGenerali::ValoreData(testo, true);
            const Variant minima = UtilGenerali::ValoreData(Variant(gsDataMinima), true);
            if (Variant::compare(data, minima).value_or(0) >= 0) {
                ImpostaBackColor(casella, normale.toLong());
                return;
            }
            rifiuta(QStringLiteral("Data troppo piccola"), mostraMessaggio, messaggio);
            codice = kDataNonValida;
            segna = true;
        });
    }
    if (segna) {
        ignoraErrori([&] {
            if (modoSegnala == 1 || modoSegnala == 3)
                ImpostaBackColor(casella, glColErrore);
            if (modoSegnala > 1)
                casella->setFocus(Qt::OtherFocusReason);
        });
    }
    return codice;
}
