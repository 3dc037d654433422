#pragma once
// The engine's calls into the conversion of one order and the closing of the run's documents.
// The run driver reaches document assembly and line conversion only through this interface, so
// that the driver can be exercised on its own; the program installs the real services at
// start-up (ImpostaServiziEvasione), a test may give an engine services of its own.
#include "variant.h"

#include <QString>
#include <cstdint>

class AvanzamentoElab;
class scEvaOrdVen;

class ServiziEvasione {
public:
    virtual ~ServiziEvasione() = default;

    // --- document assembly
    // Finds or creates the target header of the current order, locks and registers it; leaves
    // it open under msAliasTesDoc. On failure: an error line and pbEsci True.
    virtual void EvadoOrdTest(scEvaOrdVen &eva, bool &pbEsci) = 0;
    // Copies the user's selected staged expenses of the current order into the document.
    virtual void EvadoOrdSpese(scEvaOrdVen &eva, bool &pbEsci) = 0;
    // Totals and releases every document registered by the run (rows under psAliasDocDaElab).
    virtual void ChiudiFatBolle(scEvaOrdVen &eva, QString &psAliasDocDaElab, bool &pbEsci,
                                AvanzamentoElab &avanzamento) = 0;

    // --- saved run criteria
    virtual int16_t CreaAppoggioTemp(scEvaOrdVen &eva) = 0;
    virtual Variant CancellaAppoggioTemp(scEvaOrdVen &eva, const QString &psUtente, const QString &psProgramma) = 0;
    virtual int16_t ImportaAppoggioTemp(scEvaOrdVen &eva, const QString &psTerminaleMenu) = 0;

    // --- line conversion
    // Whether the current order's data can be converted (pbSoloASaldo: its lines are only to be
    // closed); when not, the order is refused: its error line, its lock released, nothing of it
    // written. Called before anything of the order is written.
    virtual bool OrdineConvertibile(scEvaOrdVen &eva, bool pbSoloASaldo)
    {
        (void)eva;
        (void)pbSoloASaldo;
        return true;
    }
    // The order's selected lines into document lines; piRigheCreate counts the rows written.
    virtual void EvadoOrdDett(scEvaOrdVen &eva, bool &pbEsci, int16_t &piRigheCreate, bool pbRipri) = 0;
    // Balance-only: the picked lines closed, no document row.
    virtual void EvadeDettSoloASaldo(scEvaOrdVen &eva, bool &pbEsci) = 0;
    // Cash sale: the order into a posted stock movement.
    virtual void EvadeDettCorrisp(scEvaOrdVen &eva, bool &pbEsci, bool pbRipri) = 0;
    // Whether the current order has nothing to deliver (a manual run: none of its staged lines
    // has a quantity; an automatic one: none of its selected article lines has anything left).
    // Such an order gets no document header or movement: its lines are closed by
    // EvadeDettSoloASaldo.
    virtual bool OrdineSoloASaldo(scEvaOrdVen &eva)
    {
        (void)eva;
        return false;
    }
};

// The services every engine uses unless given its own (the program sets them once at start-up).
void ImpostaServiziEvasione(ServiziEvasione *servizi);
ServiziEvasione *ServiziEvasionePredefiniti();
