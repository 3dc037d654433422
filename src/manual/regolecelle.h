#pragma once
// The rules a value typed into a cell of the picking grids must pass before it is stored: the
// flags take only "S" or "N" (the header's "Sel." and "Tutto" moving together as the order
// asks), and the quantity to fulfil of a line is normalised and, where the order or the line
// asks for all or nothing, corrected to the open quantity. The form calls them before it
// writes a typed value; they touch no database.
#include "variant.h"

#include <QString>
#include <cstdint>

// The three grids of the picking form.
enum class GrigliaManuale : int { Testata = 0, Righe = 1, Spese = 2 };

// A staged row by its key: an order of the header grid (anno, numRif), a line row (with its
// RigLiv in `riga` and its two levels) or an expense row (its Riga in `riga`).
struct ChiaveRigaManuale {
    int16_t anno = 0;
    int32_t numRif = 0;
    int32_t riga = 0;
    QString livello1{}, livello2{};
};

// What becomes of a typed value.
struct EsitoCella {
    bool rifiutato = false;          // the edit is refused: the cell keeps its old value
    Variant valore{};                  // the value to store ("S"/"N" for flags, a number for quantities)
    QString messaggio{};               // what the user is told ("" nothing)
    bool finestraDiSistema = false;  // the message goes in the plain message box
    // The other flag of the same header row changed with it ("" none).
    QString campoCollegato{};
    QString valoreCollegato{};
};

// The line row whose quantity is being edited, as the grid holds it.
struct RigaCella {
    int16_t anno = 0;
    int32_t numRif = 0;
    QString livello1{};      // "*liv" on a level summary row
    double qta = 0;        // ordered
    double qtaEvasa = 0;   // already fulfilled
};

namespace regoleCelle {

// Header grid: `Selez` and `EvadeTutto`; `consTotale` is the order's "Cons.Tot.".
EsitoCella Testata(const QString &campo, const Variant &testo, const QString &consTotale);
// Line grid: `ASaldo` and `QtaDaEva`; `consTotale` is the line's order's "Cons.Tot." ("N" when
// the order is not among the group's).
EsitoCella Righe(const QString &campo, const Variant &testo, const RigaCella &riga, const QString &consTotale);
// Expenses grid: `Selez`.
EsitoCella Spese(const QString &campo, const Variant &testo);

// A typed quantity to fulfil once it is accepted: a number (0 for an empty or unreadable text)
// rounded to the company's quantity decimals.
double ArrotondaQtaDaEva(const Variant &testo);

} // namespace regoleCelle

// The texts of the rules, as the user reads them.
namespace testiCelle {
inline const QString kSoloSN = QStringLiteral("Si prega di inserire: S=Si  , N=No ");
inline const QString kRiepilogoASaldo = QStringLiteral("Nella riga riepilogativa dei livelli non si può evadere a saldo") +
                                        QStringLiteral("\r\n") +
                                        QStringLiteral("Eventualmente passare nella modalità che mostra i livelli");
inline const QString kNegativa = QStringLiteral("Riga con quantità negativa da evadere totalmente");
inline const QString kOrdineTotale = QStringLiteral("Riga che appartiene ad un ordine che va evaso totalmente:") +
                                     QStringLiteral("\r\n") +
                                     QStringLiteral("Non è possibile cambiare la quantità da evadere");
inline const QString kRiepilogoTotale = QStringLiteral("Riga di riepilogo di livelli che va evaso totalmente:") +
                                        QStringLiteral("\r\n") +
                                        QStringLiteral("Per evadere parzialmente passare alla visualizzazione dei livelli");
inline const QString kPiuDellOrdinato = QStringLiteral("Attenzione: si sta evadendo più dell'ordinato");
} // namespace testiCelle
