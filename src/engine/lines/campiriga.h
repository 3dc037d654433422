#pragma once
// What the line converter hands to the writers of a document line and of its level rows.
// The converter walks the line cursor and owns the transactions of a line; the writers fill
// and store the rows (identity, unit, packs, dimensions, prices, amounts, VAT, accounts,
// provenance, notes, WEEE links; level rows and the line totals over them).
#include <QString>
#include <QVector>
#include <cstdint>

class scEvaOrdVen;

// The WEEE links of one call of the converter (one order): order line key -> document line
// key of the lines written so far, and the document lines still waiting for their linked line.
struct LegamiRaee {
    QVector<int32_t> rigLivOrdine;   // order line keys written so far
    QVector<int32_t> rigLivDocumento; // their document line keys, same index
    QVector<int32_t> attesaDocumento; // waiting document line (0 = free slot)
    QVector<int32_t> attesaOrdine;    // the order line it waits for
    void Svuota()
    {
        rigLivOrdine.clear();
        rigLivDocumento.clear();
        attesaDocumento.clear();
        attesaOrdine.clear();
    }
};

// Held for one call of the converter.
struct ConversioneRighe {
    QString aliasCursore;   // line cursor: one row per selected line, or per level of a line
    QString aliasDettDoc;   // document lines, opened on an empty selection
    QString aliasLivDoc;    // document levels, opened on an empty selection (levels managed)
    QString aliasOrdDett;   // the order line re-read on its key, updatable
    bool righeOrdineLette = false;        // aliasOrdDett holds every line of the order
    uint64_t annullamentiRigheOrdine = 0; // the connection's rollbacks when they were read
    bool livelliOrdineLetti = false;        // alias::kLivelliOrdine holds every level of the order
    uint64_t annullamentiLivelliOrdine = 0; // the connection's rollbacks when they were read
    QVector<int32_t> righeLivelliRiscritte; // lines whose levels a statement changed since
    int32_t numRifDoc = 0;  // NumRif of the target document
    int16_t numDec = 0;     // Monete.NumDec of the order's currency
    int16_t numDecGest = 0; // Monete.NumDecGest
    QString ordXmlGen;      // personal parameter "OrdXmlGen"
    int32_t ultimoRigDet = 0; // RigDet and RigLiv of the last row added
    int32_t ultimoRigLiv = 0;
    bool pbRipri = false;
    bool transazioneAperta = false; // set while a line's or a level's transaction is open
    LegamiRaee raee;
};

// The current line of the cursor, as the converter computed it.
struct RigaInConversione {
    double qtaOrdinata = 0;  // OrdVenDett.Qta
    double qtaDaEvadere = 0; // staged QtaDaEva (manual) or Qta - QtaEvasa (automatic)
    double qtaProv = 0;      // the smaller of the residual and the staged quantity
    double residuo = 0;      // residual after this delivery
    int32_t rigDet = 0;      // the new document line's RigDet and RigLiv
    int32_t rigLiv = 0;
    // Level totals of the line, raised by each level row written or skipped in resumption.
    double totQta = 0, totQtaProv = 0, totValTotale = 0, totValLire = 0, totValEuro = 0;
    // The level row last written: its quantity and the part taken from the order level, and
    // its lire and euro amounts (the values released from the committed quantities).
    double livQta = 0, livQtaProv = 0;
    double livValLire = 0, livValEuro = 0;
};

// Adds the document line of the cursor's current order line under c.aliasDettDoc: AddNew, every
// field, Update, and leaves the new row current (VaiUltimoModificato). Updates the WEEE links.
// Raises on failure (the converter's handler rolls the line back).
void ScriviRigaDocumento(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga);

// Adds the document level row of the cursor's current order level under c.aliasLivDoc (the
// line being riga.rigLiv): quantity, quantity taken, unit price and amounts as the level gives
// them, stored with Update; sets riga.livQta / riga.livQtaProv / riga.livValLire /
// riga.livValEuro and raises the line totals. No row is added (the values are still set) for a
// level closed to balance with nothing delivered, an automatic level with nothing left, or a
// line without a document line of its own (riga.rigLiv 0).
// The converter's level walk owns the level's transaction, the order level's state, the
// committed quantities and the line totals written back.
void ScriviLivelloDocumento(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga);

// The amounts of a level skipped in resumption (already written), raised into the line totals:
// those of its stored level row, since the order level already counts it as fulfilled.
void SommaLivelloGiaScritto(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga);
