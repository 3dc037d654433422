#include "servizievasioneprogramma.h"

#include "appoggiotemp.h"
#include "chiusuradocumenti.h"
#include "datiordine.h"
#include "evadoordtest.h"
#include "evasionedettagli.h"
#include "spesedocumento.h"

void ServiziEvasioneProgramma::EvadoOrdTest(scEvaOrdVen &eva, bool &pbEsci) { ::EvadoOrdTest(eva, pbEsci); }

void ServiziEvasioneProgramma::EvadoOrdSpese(scEvaOrdVen &eva, bool &pbEsci) { ::EvadoOrdSpese(eva, pbEsci); }

void ServiziEvasioneProgramma::ChiudiFatBolle(scEvaOrdVen &eva, QString &psAliasDocDaElab, bool &pbEsci,
                                              AvanzamentoElab &avanzamento)
{
    ::ChiudiFatBolle(eva, psAliasDocDaElab, pbEsci, avanzamento);
}

int16_t ServiziEvasioneProgramma::CreaAppoggioTemp(scEvaOrdVen &eva) { return ::CreaAppoggioTemp(eva); }

Variant ServiziEvasioneProgramma::CancellaAppoggioTemp(scEvaOrdVen &eva, const QString &psUtente,
                                                       const QString &psProgramma)
{
    return ::CancellaAppoggioTemp(eva, psUtente, psProgramma);
}

int16_t ServiziEvasioneProgramma::ImportaAppoggioTemp(scEvaOrdVen &eva, const QString &psTerminaleMenu)
{
    return ::ImportaAppoggioTemp(eva, psTerminaleMenu);
}

void ServiziEvasioneProgramma::EvadoOrdDett(scEvaOrdVen &eva, bool &pbEsci, int16_t &piRigheCreate, bool pbRipri)
{
    ::EvadoOrdDett(eva, pbEsci, piRigheCreate, pbRipri);
}

void ServiziEvasioneProgramma::EvadeDettSoloASaldo(scEvaOrdVen &eva, bool &pbEsci)
{
    ::EvadeDettSoloASaldo(eva, pbEsci);
}

void ServiziEvasioneProgramma::EvadeDettCorrisp(scEvaOrdVen &eva, bool &pbEsci, bool pbRipri)
{
    ::EvadeDettCorrisp(eva, pbEsci, pbRipri);
}

bool ServiziEvasioneProgramma::OrdineSoloASaldo(scEvaOrdVen &eva) { return ::OrdineSoloASaldo(eva); }

bool ServiziEvasioneProgramma::OrdineConvertibile(scEvaOrdVen &eva, bool pbSoloASaldo)
{
    return ::OrdineConvertibile(eva, pbSoloASaldo);
}
