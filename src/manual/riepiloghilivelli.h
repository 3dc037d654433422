#pragma once
// Rows of the line staging that follow another row: the level rows of a line follow its
// "*liv" summary row while the levels are hidden, and a WEEE-fee line follows the article
// line linked to it. Both run after a line row has been saved.
#include "variant.h"

#include <QString>
#include <cstdint>

// The saved line row, as the line grid holds it.
struct RigaCorpo {
    int16_t anno = 0;
    int32_t numRif = 0;
    int16_t rigDet = 0;
    int32_t rigLiv = 0;
    QString livello1{}, livello2{};
    Variant qtaDaEva{};
    QString aSaldo{};
    Variant rigLivRAEE{};   // RigLiv of the linked fee line; not above 0 when none
};

namespace riepiloghi {

// A summary row is all or nothing for its line: 0 clears the level rows' quantity to fulfil,
// any other value gives each level row its own open quantity. Errors are shown.
void AggLivDaDetRiep(const RigaCorpo &riga);
// The linked fee line takes the balance flag of the row and, as quantity to fulfil, the sum
// of the line's staged rows (its levels together). True when the fee line was written (the
// grid shows it anew). Errors after the link test are shown; reading the link may raise.
bool AggQtaRAEE(const RigaCorpo &riga);

} // namespace riepiloghi
