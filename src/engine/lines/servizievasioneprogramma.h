#pragma once
// The services a run of the program uses: document assembly and closing, saved criteria and the
// conversion of lines, each forwarded to its own module. The program installs one instance at
// start-up (ImpostaServiziEvasione).
#include "serviziEvasione.h"

class ServiziEvasioneProgramma final : public ServiziEvasione {
public:
    void EvadoOrdTest(scEvaOrdVen &eva, bool &pbEsci) override;
    void EvadoOrdSpese(scEvaOrdVen &eva, bool &pbEsci) override;
    void ChiudiFatBolle(scEvaOrdVen &eva, QString &psAliasDocDaElab, bool &pbEsci,
                        AvanzamentoElab &avanzamento) override;
    int16_t CreaAppoggioTemp(scEvaOrdVen &eva) override;
    Variant CancellaAppoggioTemp(scEvaOrdVen &eva, const QString &psUtente, const QString &psProgramma) override;
    int16_t ImportaAppoggioTemp(scEvaOrdVen &eva, const QString &psTerminaleMenu) override;
    void EvadoOrdDett(scEvaOrdVen &eva, bool &pbEsci, int16_t &piRigheCreate, bool pbRipri) override;
    void EvadeDettSoloASaldo(scEvaOrdVen &eva, bool &pbEsci) override;
    void EvadeDettCorrisp(scEvaOrdVen &eva, bool &pbEsci, bool pbRipri) override;
    bool OrdineSoloASaldo(scEvaOrdVen &eva) override;
    bool OrdineConvertibile(scEvaOrdVen &eva, bool pbSoloASaldo) override;
};
