#pragma once
// The fulfilment dialog on the headless screen, loaded on a company of the fixture (year 2024,
// work date 30/06/2024) with a few document types of its own, the lookup window recording its
// openings, every message recorded and answered by the test, and a manual picking form that
// records the hand-over.
#include "companyfixture.h"
#include "contestodiprova.h"
#include "dialoghi.h"
#include "evasionediprova.h"
#include "evasionemanuale.h"
#include "finestraaiutodiprova.h"
#include "orders.h"
#include "frmevasord.h"
#include "scratchdb.h"

#include <QLineEdit>
#include <QPointer>
#include <QSqlDatabase>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// The picking form: records what the dialog handed over.
class ManualeDiProva : public FormEvasioneManuale {
public:
    void EvasioneManuale() override;
    int chiamate = 0;
    QString keySec;               // osKeySec at the call
    scEvaOrdVen *motore = nullptr; // ogEvaOrd at the call
};

class DialogoEvasione : public ::testing::Test {
protected:
    void SetUp() override { prepara(Engine::SQLite); }
    void TearDown() override;

    // The company on the engine; false when the engine's server is missing (test skipped).
    bool prepara(Engine motore);
    // A new dialog, loaded, shown and active.
    void nuovoDialogo();

    // The field gets the focus, its text, and is left for the OK button.
    void scrivi(int indice, const QString &testo);
    void lascia(int indice);
    void esegui(const QString &sql);
    int32_t ordine(suite::OrderInput o);

    std::unique_ptr<ContestoDiProva> c;
    std::unique_ptr<ScratchDb> db;
    QSqlDatabase fixture;
    FinestraAiutoDiProva *finestra = nullptr;
    // Every message recorded; answered from `risposte`, then with the first button, after
    // `durante` has run (a test may open a real window there, as the message would).
    DialoghiEvasione *messaggi = nullptr;
    std::deque<int> risposte;
    std::function<void()> durante;
    ManualeDiProva manuale;
    QPointer<frmEvasOrd> form;

private:
    std::unique_ptr<Dialoghi> m_dialoghiPrima;
};
