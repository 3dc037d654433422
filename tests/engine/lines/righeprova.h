#pragma once
// The company of the line converter's tests on the engine of the test's parameter: the fixture
// without orders, orders of the test's own, the engine standing on one of them with its target
// header (delivery note or invoice 2024/1) as the run leaves it before the lines, and the reads
// of what the conversion wrote.
#include "dittaprova.h"
#include "orders.h"
#include "scevaordven.h"

#include <memory>
#include <optional>
#include <vector>

inline const QString kUtente = QStringLiteral("mario");

struct StatoOrdine {
    Variant qtaEvasa;
    QString statoRiga; // "" for Null
    QString flagStato;
};

struct RigaDocumento {
    int32_t rigDet = 0, rigLiv = 0;
    QString tipoRiga, articolo, notaSopra, notaSopraStamp, formatoRiga, riepilogativa, descPers1, flScontoPag;
    Variant qta, qtaProv, valTotale, valEuro;
    int32_t rigaRifProv = 0;
};

struct LivelloDocumento {
    int32_t rigLiv = 0, rigLivOrig = 0;
    QString livello1, livello2;
    double qta = 0, qtaProv = 0;
};

class ProvaRighe : public DittaDiProva {
protected:
    void SetUp() override;
    void TearDown() override;

    int32_t ordine(const suite::OrderInput &o);
    // The engine on order 2024/numRif, its target header created (delivery note unless an
    // invoice is asked) and standing under msAliasTesDoc.
    scEvaOrdVen &motore(int32_t numRif, bool manuale = false, bool fattura = false);
    // The current user's staged row of an order line (its levels " " as the picking form stages
    // them) or of one of its levels.
    void scelta(int32_t numRif, int32_t rigLiv, double qtaDaEva, const QString &aSaldo, const QString &livello1 = {},
                const QString &livello2 = {});
    void sql(const QString &testo, const QVariantList &valori = {});

    StatoOrdine rigaOrdine(int32_t numRif, int32_t rigLiv);
    StatoOrdine livelloOrdine(int32_t numRif, int32_t rigLiv, const QString &l1, const QString &l2);
    std::vector<RigaDocumento> righeDocumento(bool fattura = false);
    std::vector<LivelloDocumento> livelliDocumento(bool fattura = false);
    // QtaImpCli of the article's progressive of 2024 in warehouse "01".
    double impegnato(const QString &articolo, const QString &l1 = suite::fx::kNoLevel,
                     const QString &l2 = suite::fx::kNoLevel);
    // The Stato of the order's lock row.
    QString statoBlocco(int32_t numRif);

    std::unique_ptr<scEvaOrdVen> m_eva;
};

// "Errore n°" number " : " text " in " stage " di Evasione Ordini": the error list must hold it.
#define EXPECT_ERRORE(eva, testo) \
    EXPECT_TRUE((eva).msErrori.contains(testo)) << (eva).msErrori.toStdString()
