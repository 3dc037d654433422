#pragma once
// The customer-committed and supplier-ordered quantities of the product progressives
// (ArticoliProg: QtaImpCli with ValImpCli/ValImpCliLire, QtaOrdFor with ValOrdFor/ValOrdForLire),
// moved for one article in the rows of a year and of every later year, and, when the company
// works with bills of materials, for the article's components.
//
// It runs inside the caller's transaction and relies on the caller's rollback: every error,
// those of the explosion included, reaches the caller. Each change is one UPDATE that adds to
// the stored quantity, so two programs moving the same row never lose one another's change.
#include "variant.h"

#include <QString>
#include <cstdint>

// pbEvasione: True the quantity leaves the family (subtracted), False it enters it.
// piAnno: the first year changed. Levels: an empty psLivello1 means the empty-level marker in
// both levels. pvQta: the ordered quantity of the line or level; pvQtaEvasa: its fulfilled
// quantity after this fulfilment; pvQtaEvasaPrec: before it; pvQtaMov: the quantity moved now.
// pvValEuro/pvValLire: the values of the whole ordered quantity. psASaldo "S": the line is
// closed at balance (the whole remainder moves). pbResiduo (with pbEvasione False): the open
// remainder moves instead of pvQtaMov. The VAT arguments take the VAT out of values that
// include it. Nothing happens unless psArtMag is "S" and psCarScar is not "N". psCausaleDiBa
// and psMagComp: the bill-of-materials causal and the components' warehouse ("" the article's).
// pbOrdFor: the supplier-ordered family. pbCrea: create the missing progressive row.
void AggiornaImpegni(bool pbEvasione, int16_t piAnno, const QString &psMagazzino, const QString &psArticolo,
                     const QString &psLivello1, const QString &psLivello2, const Variant &pvQta,
                     const Variant &pvQtaEvasa, const Variant &pvQtaEvasaPrec, const Variant &pvQtaMov,
                     const Variant &pvValEuro, const Variant &pvValLire, const QString &psASaldo, bool pbResiduo,
                     const QString &psTipoIva, const Variant &pvAliquota, const QString &psPrezziIvati,
                     const QString &psArtMag, const QString &psCarScar, const QString &psCausaleDiBa,
                     const QString &psMagComp, bool pbOrdFor, bool pbCrea);
