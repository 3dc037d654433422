#pragma once
// What the run tests share: a company with hand-made orders on either engine, an engine whose
// services are recording fakes, dialogs answered by the test and a progress view that keeps
// every maximum it was given.
#include "avanzamentoelab.h"
#include "companyfixture.h"
#include "contestodiprova.h"
#include "dialoghi.h"
#include "orders.h"
#include "scevaordven.h"
#include "scratchdb.h"
#include "serviziEvasione.h"

#include <QSqlDatabase>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// Every dialog recorded; answered by `risposta` when set, else with the first button.
class DialoghiEvasione : public Dialoghi {
public:
    int msgCom(const RichiestaMsgCom &r) override;
    int MsgBox(const QString &testo, PulsantiMsg, IconaMsg, const QString &) override;
    std::optional<QString> InputBox(const QString &prompt, const QString &, const QString &) override;

    std::function<int(const RichiestaMsgCom &)> risposta;
    QStringList testi;
    std::vector<RichiestaMsgCom> richieste;
};

// The services of order conversion, recorded; each does by default what a run needs of it to
// go on, and can be replaced by the test.
class ServiziDiProva : public ServiziEvasione {
public:
    void EvadoOrdTest(scEvaOrdVen &eva, bool &pbEsci) override;
    void EvadoOrdSpese(scEvaOrdVen &eva, bool &pbEsci) override;
    void ChiudiFatBolle(scEvaOrdVen &eva, QString &psAliasDocDaElab, bool &pbEsci, AvanzamentoElab &avanzamento) override;
    int16_t CreaAppoggioTemp(scEvaOrdVen &eva) override;
    Variant CancellaAppoggioTemp(scEvaOrdVen &eva, const QString &psUtente, const QString &psProgramma) override;
    int16_t ImportaAppoggioTemp(scEvaOrdVen &eva, const QString &psTerminaleMenu) override;
    void EvadoOrdDett(scEvaOrdVen &eva, bool &pbEsci, int16_t &piRigheCreate, bool pbRipri) override;
    void EvadeDettSoloASaldo(scEvaOrdVen &eva, bool &pbEsci) override;
    void EvadeDettCorrisp(scEvaOrdVen &eva, bool &pbEsci, bool pbRipri) override;
    bool OrdineSoloASaldo(scEvaOrdVen &eva) override { return soloASaldo && soloASaldo(eva); }

    // "EvadoOrdTest 3", "EvadoOrdDett 3", "ChiudiFatBolle", ... in the order of the calls (the
    // number is the current order's NumRif).
    QStringList chiamate;
    // Replaces the line conversion of the order; by default the lines the run marks are all
    // fulfilled and counted as rows created.
    std::function<void(scEvaOrdVen &, bool &, int16_t &)> righe;
    std::function<void(scEvaOrdVen &, bool &)> chiusura;
    // Which orders of a manual run have nothing to deliver (none by default).
    std::function<bool(scEvaOrdVen &)> soloASaldo;
    // Whether a run was in progress (ElaborazioneAttiva) at each call.
    std::vector<bool> inCorso;

    // The default line conversion: marks the order's lines, fulfils every line read.
    static void evadiTutto(scEvaOrdVen &eva, bool &pbEsci, int16_t &piRigheCreate);

private:
    void registra(scEvaOrdVen &eva, const QString &nome);
};

class VistaRegistrata : public VistaAvanzamentoMemoria {
public:
    void impostaMassimo(int32_t m) override
    {
        VistaAvanzamentoMemoria::impostaMassimo(m);
        massimi.push_back(m);
    }
    std::vector<int32_t> massimi;
};

class EvasioneDiProva : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    void TearDown() override;

    // An order of the fixture's customer (year 2024, type "OC", registered 01/03).
    int32_t ordine(suite::OrderInput o);
    // A plain open order of one article line per quantity.
    int32_t ordineSemplice(int32_t numRif, std::vector<double> quantita = {5});
    void esegui(const QString &sql);
    // The rows of a statement, each row's fields joined by "|".
    QStringList righe(const QString &sql);
    int conta(const QString &sql) { return static_cast<int>(righe(sql).size()); }
    void lockDi(const QString &utente, int32_t numRif, const QString &tipo = QStringLiteral("O"));

    // The fulfilment request that most tests make: delivery notes of the year's "OC" orders
    // at 30/06/2024.
    void richiestaBase();

    std::unique_ptr<ContestoDiProva> contesto;
    std::unique_ptr<ScratchDb> db;
    QSqlDatabase fixture; // a second connection to the company database
    scEvaOrdVen eva;
    ServiziDiProva servizi;
    DialoghiEvasione *dialoghi = nullptr;
    VistaRegistrata vista;

private:
    std::unique_ptr<Dialoghi> m_dialoghiPrima;
};

inline const QString kUtente = QStringLiteral("mario");
