#pragma once
// A company of the fixture and an engine set up as the run driver sets it before it hands an
// order to document assembly, on the engine of the test's parameter:
//
//   preparaRun("FAT");                         // invoices, year 2024, fulfilment 10/05/2024
//   const int32_t n = ordine({.cliente = 4});  // an order of the fixture's master data
//   EXPECT_FALSE(evadi(n));                    // EvadoOrdTest on it; true when it stopped
//   EXPECT_EQ(valore("Select Count(*) from DocDaElab").toInt(), 1);
//
// The charge services of a new invoice are recorded (addebiti), dialogs are answered from the
// queue of `dialoghi`; the current user is "D'Amico".
#include "companyfixture.h"
#include "contestodiprova.h"
#include "dialoghidiprova.h"
#include "evadoordtest.h"
#include "orders.h"
#include "scevaordven.h"
#include "scratchdb.h"

#include <QSqlDatabase>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

inline const QString kUtenteProva = QStringLiteral("D'Amico");
inline const QString kProgrammaProva = QStringLiteral("EvaOrdEvOr");

// One call of a charge service, its arguments as texts in order (table, year, number, sign 1,
// sign 2, account 1, account 2, terms 1, terms 2, currency 1, currency 2, VAT code).
struct ChiamataAddebito {
    QString servizio;
    QStringList argomenti;
};

// Records the charge services' calls; each answers with the error set for it (0 by default).
class AddebitiDiProva {
public:
    AddebitiDiProva();
    ~AddebitiDiProva();
    AddebitiDiProva(const AddebitiDiProva &) = delete;
    AddebitiDiProva &operator=(const AddebitiDiProva &) = delete;

    std::vector<ChiamataAddebito> chiamate;
    int32_t erroreSpeseBanca = 0;
    QString testoSpeseBanca;

private:
    AddebitiFattura m_precedenti;
};

// A dialog seam that runs an action of the test before it answers (another user acting while
// the question is on the screen).
class DialoghiConAzione : public DialoghiDiProva {
public:
    std::function<void(int volta)> azione;
    int msgCom(const RichiestaMsgCom &richiesta) override;

private:
    int m_volte = 0;
};

class ProvaEvasione : public ::testing::TestWithParam<Engine> {
protected:
    ProvaEvasione();
    void SetUp() override;
    void TearDown() override;

    // The run's set-up for target type "DDT", "DDTI", "FAT" or "FATSP": kind, tables, lock type,
    // values of the target type, the run's DocDaElab rows (opened anew), rate "USD" 1.085.
    void preparaRun(const QString &tipoDocEva);
    // A run starting over: documents, locks, DocDaElab rows, orders and the error list removed.
    void svuota();
    int32_t ordine(suite::OrderInput o);
    // Opens the order cursor on the order (msAliasOrd), as the run driver does.
    void apriOrdine(int32_t numRif);
    // Opens the order cursor on the order, takes its grouping rule and calls EvadoOrdTest.
    // Returns the stop flag.
    bool evadi(int32_t numRif);
    // Every expense row of the order staged as selected for the current user, as an automatic
    // run stages them.
    void selezionaSpese(int32_t numRif);

    // The first column of the first row of a statement on the test's own connection (the
    // statement in the engine's own dialect; "%T" stands for the run's header table).
    QVariant valore(const QString &sql) const;
    void esegui(const QString &sql) const;
    // A column of a header of the run's table.
    QVariant testata(int32_t numRif, const QString &campo) const;
    int conta(const QString &tabella) const;

    bool pg() const { return GetParam() == Engine::PostgreSQL; }
    QString sql(const QString &testo) const;

    ContestoDiProva c;
    std::unique_ptr<ScratchDb> m_db;
    QSqlDatabase m_q;
    scEvaOrdVen eva;
    DialoghiConAzione *dialoghi = nullptr; // owned by the seam
    std::unique_ptr<AddebitiDiProva> addebiti;

private:
    std::unique_ptr<Dialoghi> m_dialoghiPrecedenti;
};
