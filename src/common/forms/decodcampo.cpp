#include "decodcampo.h"

#include "apriaiuto.h"
#include "contesto.h"
#include "decodcodice.h"
#include "fuoco.h"
#include "gestoreaiuto.h"
#include "parametri.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <QApplication>
#include <QWidget>

namespace {

bool vero(int16_t flag)
{
    return flag != 0;
}

// A code of blanks is no code: it never opens a lookup.
bool codiceVuoto(QWidget *codice)
{
    return UtilGenerali::Vuoto(Variant(TestoControllo(codice).trimmed()), 8, 1, false);
}

bool articolo(const QString &tipo)
{
    return textEquals(tipo, u"Articolo") || textEquals(tipo, u"ArticoloCod");
}

Variant campiOVuoto(const Variant *listaCampi)
{
    return listaCampi && !listaCampi->isEmpty() ? *listaCampi : Variant(QString());
}

// The key code that opens the automatic lookup.
int16_t tastoAiuto(const QString &tipoAiuto, int16_t tasto)
{
    if (gbDecodHelpPersKey) {
        const int16_t n = UtilGenerali::ValoreNonNullo(
                              LeggiParamPers(QStringLiteral("Tutti"), QStringLiteral("Hlp") + tipoAiuto, Variant("0")))
                              .toInteger();
        if (n != 0)
            tasto = static_cast<int16_t>(n + 111);
    }
    if (tasto != -1)
        return tasto;
    if (textEquals(gsDecodHelpAbil, u"C"))
        return 113;
    if (textEquals(gsDecodHelpAbil, u"D"))
        return 114;
    const int16_t n = UtilGenerali::ValoreNonNullo(Variant(gsDecodHelpAbil)).toInteger();
    return n > 0 ? static_cast<int16_t>(-(n + 1)) : int16_t(-1);
}

} // namespace

bool MsgComVisibile()
{
    for (const QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && textEquals(w->objectName(), u"frmMsgCom"))
            return true;
    }
    return false;
}

Variant DecodCampo(const QString &tipo, QWidget *codice, QWidget *descrizione, const std::optional<Variant> &opzione,
                   int16_t opzione5, int16_t opzione6, const QString &opzione7, Variant *listaCampi,
                   const QString &filtro, const QString &prefissoCampi, int16_t opzioneAiuto,
                   const std::optional<Variant> &filtroAiuto, int16_t tasto, int16_t aiutoAmmesso,
                   const QString &testoDurante, int16_t &aiutoAperto, int16_t eventiPrima, QObject *,
                   int16_t senzaEventi)
{
    aiutoAperto = 0;
    const Variant campi = campiOVuoto(listaCampi);
    QString filtroDecodifica = filtro;
    if (articolo(tipo))
        FiltroArticoliAttivi(filtroDecodifica);
    const QString copia7 = opzione7;
    OggettoRicercaAiuto &ricerca = ggAiuto->OggettoRicerca();
    const int16_t retZeroRec = ricerca.ovLeggiPar(QStringLiteral("RetZeroRec")).toInteger();

    for (bool primo = true;; primo = false) {
        Variant lavoro = campi;
        const int16_t esito =
            ggAiuto->Decodifica(tipo, codice, descrizione, opzione, opzione5, copia7, opzione6, lavoro, filtroDecodifica);
        if (codiceVuoto(codice) || esito == -1 || !primo
            || textEquals(gsDecodHelpAbil, u"N") || !vero(aiutoAmmesso) || MsgComVisibile()) {
            if (listaCampi)
                *listaCampi = lavoro;
            return Variant(esito);
        }

        if (!vero(senzaEventi))
            QCoreApplication::processEvents();
        const QString filtroFinestra = filtroAiuto ? filtroAiuto->text() : filtro;
        const QString tipoAiuto = textEquals(tipo, u"ArticoloCod") ? QStringLiteral("Articolo") : tipo;
        int16_t tastoFinestra = tastoAiuto(tipoAiuto, tasto);

        std::optional<QString> valorePrima;
        if (!testoDurante.isEmpty()) {
            valorePrima = TestoControllo(codice);
            ImpostaTestoControllo(codice, testoDurante);
        }
        aiutoAperto = -1;
        if (vero(eventiPrima))
            QCoreApplication::processEvents();
        ricerca.ovLeggiPar(QStringLiteral("RetZeroRec"), Variant(int16_t(1)));

        int16_t scelto = 0;
        for (int volta = 0; volta < 2; ++volta) {
            const int16_t r = ApriAiuto(tipoAiuto, codice, descrizione, tastoFinestra, opzione, scelto,
                                        prefissoCampi, opzioneAiuto, filtroFinestra)
                                  .toInteger();
            if (r != 1 || TestoControllo(descrizione) != kInesistente)
                break;
            tastoFinestra = tastoFinestra == 113 ? int16_t(114) : int16_t(113);
        }
        ricerca.ovLeggiPar(QStringLiteral("RetZeroRec"), Variant(retZeroRec));

        if (!vero(scelto)) {
            if (valorePrima)
                ImpostaTestoControllo(codice, *valorePrima);
            if (listaCampi)
                *listaCampi = lavoro;
            return Variant(false);
        }
        if (textEquals(tipoAiuto, u"Conto") && valorePrima)
            ImpostaTestoControllo(codice, UtilGenerali::FormattaValore(Variant(TestoControllo(codice)), QStringLiteral("conto")));
    }
}

Variant CodiceLostFocus(const QString &tipo, QWidget *codice, QWidget *descrizione,
                        const std::optional<Variant> &opzione, int16_t opzione5, int16_t opzione6,
                        const QString &opzione7, Variant *listaCampi, const QString &filtro, int16_t silenzioso,
                        int16_t senzaEventi)
{
    QString filtroCopia = filtro;
    Variant campi = campiOVuoto(listaCampi);
    if (textEquals(tipo, u"Articolo"))
        FiltroArticoliAttivi(filtroCopia);
    if (codiceVuoto(codice) || vero(silenzioso) || vero(opzione5)) {
        const int16_t esito =
            ggAiuto->Decodifica(tipo, codice, descrizione, opzione, opzione5, opzione7, opzione6, campi, filtroCopia);
        if (listaCampi)
            *listaCampi = campi;
        return Variant(esito);
    }
    const QString testo =
        textEquals(tipo, u"Conto") ? UtilGenerali::CodiceConto(Variant(TestoControllo(codice)), QStringLiteral("Conto")) : QString();
    int16_t aperto = 0;
    return DecodCampo(tipo, codice, descrizione, opzione, opzione5, opzione6, opzione7, listaCampi, filtroCopia, QString(), 0,
                      std::nullopt, -1, -1, testo, aperto, 0, nullptr, senzaEventi);
}

Variant ContoLostFocus(QWidget *casella, QWidget *descrizione, int16_t opzione, int16_t tipoConto,
                       Variant *listaCampi, int16_t aiutoAmmesso, const Variant &)
{
    const QString digitato = TestoControllo(casella);
    ImpostaTestoControllo(casella, UtilGenerali::FormattaValore(Variant(digitato), QStringLiteral("conto")));
    int16_t aperto = 0;
    return DecodCampo(QStringLiteral("Conto"), casella, descrizione, Variant(tipoConto), opzione, 0, QString(), listaCampi,
                      QString(), QString(), 0, std::nullopt, -1, aiutoAmmesso, digitato, aperto, 0, nullptr, 0);
}

void ContoGotFocus(QWidget *casella)
{
    ImpostaTestoControllo(casella, UtilGenerali::CodiceConto(Variant(TestoControllo(casella)), QStringLiteral("conto")));
    SelezionaTesto();
}
