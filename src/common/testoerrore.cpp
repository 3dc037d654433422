#include "testoerrore.h"

#include "dialoghi.h"
#include "utilgenerali.h"

int32_t TestoErrore(const AppError &errore, const QString &prima, const QString &dopo)
{
    return TestoErrore(Variant(descrizioneConOrigine(errore)), Variant(UtilGenerali::NumeroErrore(errore)), prima,
                       dopo);
}

int32_t TestoErrore(const Variant &descrizione, const Variant &numero, const QString &prima, const QString &dopo)
{
    const QString testo =
        prima + QStringLiteral("Errore(") + numero.text() + QStringLiteral("): ") + descrizione.text() + dopo;
    return dialoghi().MsgBox(testo, PulsantiMsg::Ok, IconaMsg::Esclamazione, QString());
}
