#pragma once
// The line tests' company and engine: the charges tests' company (orders of the test's own) with
// its currency settings, a target header, and the record sets the line converter holds while it
// writes an order's lines (order cursor, header, line cursor, empty document lines and levels),
// so that a test calls the line and level writers directly on a cursor row.
#include "campiriga.h"
#include "dittaprova.h"
#include "orders.h"
#include "scevaordven.h"

inline const QString kUtenteProva = QStringLiteral("PROVA");

class ConversioneDiProva : public DittaDiProva {
protected:
    void SetUp() override;
    void TearDown() override;

    // The run's target kind (tables and document type) and its header 2024/`numRifDoc` at the
    // rate given; every test starts with it.
    void documento(bool fattura, double cambio = 1.0, int32_t numRifDoc = 1);
    // Opens the record sets of the order's conversion, the line cursor on its first row. A
    // manual run reads the user's staging rows (kUtenteProva).
    void apri(int32_t numRifOrdine);
    // The cursor row's quantities as the converter works them out (automatic: the residual;
    // manual: the staged quantity).
    RigaInConversione rigaCorrente();
    // The cursor's current order line written as document line rigDet / rigLiv.
    RigaInConversione scriviRiga(int32_t rigDet, int32_t rigLiv);
    void avanti();

    // A stored row of the run's document: a line by RigLiv, a level row by RigLiv and levels.
    Variant campoRiga(int32_t rigLiv, const QString &campo);
    Variant campoLivello(int32_t rigLiv, const QString &livello1, const QString &livello2, const QString &campo);
    int contaRighe(const QString &tabella);

    int32_t ordine(const suite::OrderInput &o) { return suite::addOrder(m_q, o); }
    void esegui(const QString &sql);

    scEvaOrdVen eva;
    ConversioneRighe conv;
    int32_t m_numRifDoc = 1;
};
