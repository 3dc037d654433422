#pragma once
// The stock services the posting calls: the expense share of a row, the movement row totals,
// the issue values from level rows, and the row poster the drivers call; the real ones
// (CalcolaQuotaSpese, TotaliRigheMov, AggValoriScarico, AggiornaRigaMov) unless a test puts
// others in their place.
#include "aggiornarigamov.h"
#include "avanzamentoelab.h"
#include "variant.h"

#include <QString>
#include <functional>

struct ServiziMagazzino {
    // The expense share per unit of a row, euro: causal's apportioning rule, the movement's
    // expense amount, the movement's row total, the user's setting "V"/"P", the row's
    // quantity, value and unit value.
    std::function<double(const QString &psRipartSpese, double pdImportoSpese, double pdTotRighe,
                         const QString &psRipartPercVal, double pdQta, double pdValTotale, double pdValUnit)>
        CalcolaQuotaSpese;
    // Sum of Qta ("Q") or ValTotale ("V") of a movement's detail rows in MovMagDett & suffix.
    std::function<Variant(const QString &psModo, int16_t piAnno, int32_t plNumReg, const QString &psSuffisso)>
        TotaliRigheMov;
    // The issue values of the detail rows of articles with levels, from their level rows.
    std::function<void(AvanzamentoElab &pgAvanzamento, int16_t piAnno, int32_t plNumReg, const QString &psArticoloDa,
                       const QString &psArticoloA)>
        AggValoriScarico;
    // The row poster (AggiornaRigaMov).
    std::function<decltype(AggiornaRigaMov)> PostaRiga = AggiornaRigaMov;
};

const ServiziMagazzino &serviziMagazzino();
// Installs the services (an empty function falls back to the real one); returns the previous
// ones.
ServiziMagazzino impostaServiziMagazzino(ServiziMagazzino servizi);
