#pragma once
// The target document header of the current order: an open delivery note or invoice that the
// order's grouping rule lets it join, or a new one, numbered in the run's year; locked for the
// current user, filled from the order, stored and registered once in the run's DocDaElab rows;
// a new invoice also gets its bank-charge and stamp-duty rows.
#include "variant.h"

#include <QString>
#include <cstdint>
#include <functional>

class scEvaOrdVen;

// On return without pbEsci the engine's header alias (msAliasTesDoc) stands on the stored,
// locked and registered header. On failure: an error line and pbEsci True; a header made by
// this call and not registered is removed again, and so is a lock it took on a document that
// the run has not registered.
void EvadoOrdTest(scEvaOrdVen &eva, bool &pbEsci);

// The bank-charge and stamp-duty rows of a new invoice are the document charges' work; header
// assembly reaches them through this seam. Arguments: expense table, year, document number,
// then two sets (sign, "Gruppo-Mastro-Conto", payment terms, currency) of which the first is
// left empty here, the VAT code, and out the error number (0 when all went well) and text.
// Result: the error number.
using ServizioAddebito = std::function<int32_t(
    const QString &psTabSpese, int16_t piAnno, int32_t plNumRif, const QString &psSegno1, const QString &psSegno2,
    const QString &psConto1, const QString &psConto2, const QString &psPagamento1, const QString &psPagamento2,
    const QString &psMoneta1, const QString &psMoneta2, const QString &psIva, int32_t &plErrore, QString &psErrore)>;

struct AddebitiFattura {
    ServizioAddebito AggiungiSpeseBanca;
    ServizioAddebito AggiungiBolliDoc;
};

// Installs the charge services (the program at start-up, a test its own); returns the previous
// ones. A service not installed is reported as an error line of the order.
AddebitiFattura ImpostaAddebitiFattura(AddebitiFattura addebiti);

// The next register number of a new header: UltimoNumero on NumRif of the year, unless another
// numbering is installed (a test puts a competing writer between the query and the store).
// Returns the previous one; an empty function gives UltimoNumero back.
using NumeratoreTestate = std::function<int32_t(int16_t piAnno, const QString &psTabella)>;
NumeratoreTestate ImpostaNumeratoreTestate(NumeratoreTestate numeratore);
