#pragma once
// What the line conversions share: their record-set aliases, the reads of the line cursor
// (a Null number reads 0, a Null text ""), the run's switches, the walk of a line's levels, the
// numbers of a new document row, and the fulfilled quantity and committed quantities of an order
// line or level.
#include "gestrecordset.h"
#include "variant.h"

#include <QString>
#include <QStringView>
#include <cstdint>

#include <functional>

class scEvaOrdVen;
struct ConversioneRighe;

namespace alias {
inline const QString kCursore = QStringLiteral("EvaDettCursore");   // the line cursor
inline const QString kDettDoc = QStringLiteral("EvaDettDoc");       // document lines
inline const QString kLivDoc = QStringLiteral("EvaLivDoc");         // document levels
inline const QString kOrdDett = QStringLiteral("EvaOrdDett");       // the order line re-read
inline const QString kOrdLiv = QStringLiteral("EvaOrdLiv");         // the order level re-read
inline const QString kLivelliOrdine = QStringLiteral("EvaLivelliOrdine"); // the order's levels, held
inline const QString kLivAperti = QStringLiteral("EvaLivAperti");   // open levels of a line
inline const QString kSoloASaldo = QStringLiteral("EvaSoloASaldo"); // the balance-only cursor
inline const QString kMovDett = QStringLiteral("EvaMovDett");       // cash-sale movement rows
inline const QString kMovLiv = QStringLiteral("EvaMovLiv");         // cash-sale movement level rows
inline const QString kRigheControllo = QStringLiteral("EvaRigheControllo"); // the lines an order's checks read
} // namespace alias

double Numero(const GestRecordset &recs, const QString &alias, QStringView campo);
QString Testo(const GestRecordset &recs, const QString &alias, QStringView campo);
// Whether the quantity is 0 at eight decimals.
bool QtaZero(const Variant &qta);
// Whether the field holds the flag, ignoring letter case.
bool Flag(const GestRecordset &recs, const QString &alias, QStringView campo, QStringView flag);

bool LivelliGestiti(const scEvaOrdVen &eva);
// The run's line statement of the current order (PrepSqlDett(0, pbRipri)) with only the columns
// that the checks before a conversion look at: what is left of each line and level, and the
// order's data check. Both read it through RigheDaControllare.
QString SqlRigheControllo(scEvaOrdVen &eva, bool pbRipri);
// Opens the rows of SqlRigheControllo under alias::kRigheControllo, on the first row: read
// again unless the order's check reads the rows that the residue check has just read
// (eva.msRigheControllo, the text of the set it left open), with nothing written in between.
QString RigheDaControllare(scEvaOrdVen &eva, bool pbRipri);
// Marks the order's lines, and their levels when the company manages levels, as taken by the
// run, in one transaction: a stop never leaves a taken line whose levels are not taken, which
// the recovery could not find again.
void SegnaRigheOrdine(scEvaOrdVen &eva);
bool OrdineAperto(const scEvaOrdVen &eva);
// "A" or "M": the lines that carry an article and get a fulfilled quantity.
bool RigaArticolo(const QString &tipoRiga);
// The cursor row is a level of a line handled through its levels.
bool RigaConLivelli(scEvaOrdVen &eva, const QString &cursore);

// The cursor rows of the current line from the current one (the line, or each level of it),
// each handed to `passo` while it answers true; the cursor then stands where it was.
void RigheDellaRiga(GestRecordset &recs, const QString &cursore, const std::function<bool()> &passo);

// Automatic runs: a level at "E" has nothing left, whatever its fulfilled quantity (a level
// closed to balance keeps what it had when closed): no level row, no change, no release.
bool LivelloChiuso(const scEvaOrdVen &eva, const GestRecordset &recs, const QString &cursore);
// Automatic runs: whether the cursor's line, from its current row over the rows of its levels,
// has nothing left to deliver: an article line whose residual is at or below zero, or whose
// levels are all closed or have nothing left. The cursor stays where it was.
bool NienteDaConsegnare(scEvaOrdVen &eva, const QString &cursore);
// Whether the cursor's line is only closed, with no document row: in a manual run a line
// picked to be closed with nothing to deliver (none of its picked levels has a quantity), in
// an automatic run a line with nothing left to deliver. A description line is never only
// closed. The cursor stays where it was.
bool SoloChiusura(scEvaOrdVen &eva, const QString &cursore);

// The quantity fulfilled after this conversion: StatoRiga "E" when it reaches the ordered
// quantity (at eight decimals), or whenever the line is closed to balance.
QString StatoEvasione(double qtaEvasa, double qta, bool aSaldo);

// Edits the re-read order line ("OrdVenDett") or level ("OrdVenLiv") under `alias`: QtaEvasa
// raised by the quantity taken, StatoRiga as it then stands (the cursor's ASaldo closing it);
// the row is left being edited for the caller to store. Returns QtaEvasa before.
double ScriviEvaso(GestRecordset &recs, const QString &alias, const QString &tabella, const QString &cursore,
                   double qtaPresa);

// One release of committed quantities for the cursor's order line (empty levels) or level.
struct ImpegnoDaRilasciare {
    QString livello1, livello2;
    Variant qta;           // ordered quantity of the line or level
    double qtaEvasa = 0;   // fulfilled after this conversion
    double qtaEvasaPrec = 0; // fulfilled before it
    double qtaMov = 0;     // taken now
    Variant valEuro, valLire; // values of the whole ordered quantity
    QString aSaldo;        // closed to balance: "S"; empty for the staging's own flag
};
// The cursor's order line or, with `livello`, its level: levels, ordered quantity and values;
// the fulfilled quantities left for the caller.
ImpegnoDaRilasciare ImpegnoDelCursore(const GestRecordset &recs, const QString &cursore, bool livello);
// Releases what the line or level gives back to the product progressives: the quantity taken
// now, or, closed to balance, what was still open. Nothing when that is at or below zero (a
// line delivered beyond its quantity has nothing left to release).
void RilasciaImpegni(scEvaOrdVen &eva, const QString &cursore, const ImpegnoDaRilasciare &i);

// The cursor's order level found on its key: the quantity taken added, its state, "D" as
// transferred, stored; then its committed quantities released.
void AggiornaLivelloOrdine(scEvaOrdVen &eva, ConversioneRighe &c, const QString &cursore, double qtaPresa);

// After the levels of the cursor's line: the run marker of every level of the line, picked or
// not, and of the line itself (re-read under `ordDett`) back to "0".
void AzzeraMarcatoriRiga(scEvaOrdVen &eva, ConversioneRighe &c, const QString &cursore, const QString &ordDett);

// The cursor rows of the current line's levels, from the current one, each handed to `passo`;
// the cursor then stands on the line's last row.
void PerOgniLivello(GestRecordset &recs, const QString &cursore, const std::function<void()> &passo);

// The numbers of a row about to be appended to the document (its highest RigDet and RigLiv
// plus 1, kept in c.ultimoRigDet / c.ultimoRigLiv), counted in piRigheCreate.
void NumeraNuovaRiga(scEvaOrdVen &eva, ConversioneRighe &c, int16_t &piRigheCreate);

// Counters that raise the run-time's overflow rather than wrap.
void Incrementa(int16_t &contatore);
int32_t Successivo(int32_t numero);
