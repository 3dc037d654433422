#pragma once
// A run of the real program on a company of its own: the orders a test writes, a request typed
// into the dialog by a user's keys, the run's end awaited and the program ended by the menu;
// then the company opened in the test to read what the run wrote.
//
//   EvasioneReale r(engine);            // SQLite file or PostgreSQL (skips without a server)
//   r.ordine(o);                         // orders of the test's own (no fixture orders)
//   r.esegui(Richiesta{}.cliente("14010006"));
//   r.righe("SELECT ... FROM DdtTest");
#include "contestodiprova.h"
#include "orders.h"
#include "programmadiprova.h"
#include "scratchdb.h"

#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

// The fields of the dialog a request fills, each typed as a user types it, then OK.
class Richiesta {
public:
    Richiesta &campo(int indice, const QString &testo);
    Richiesta &cliente(const QString &da, const QString &a) { return campo(40, da).campo(50, a); }
    Richiesta &articolo(const QString &da, const QString &a) { return campo(200, da).campo(210, a); }
    // Cash sale: the box ticked (which empties the fulfilment type).
    Richiesta &corrispettivo();
    // The keys, from the date field that has the focus at the start: "Automatica", then each
    // field in the tab order, then OK.
    QString tasti() const;

private:
    std::vector<std::pair<int, QString>> m_campi;
    bool m_corrispettivo = false;
};

class EvasioneReale {
public:
    // The company fixture of `ditta` (no orders unless asked) on the engine; the test is
    // skipped (or fails when PostgreSQL is required) without a server.
    explicit EvasioneReale(Engine motore, suite::FixtureOptions ditta = opzioni());
    ~EvasioneReale();

    static suite::FixtureOptions opzioni();
    bool pronta() const { return m_db != nullptr; }

    int32_t ordine(const suite::OrderInput &o);
    // An SQL statement on the company before the run.
    void esegui(const QString &sql);
    void parametroMenu(const QString &chiave, const QString &valore) { m_parametri.emplace_back(chiave, valore); }
    void risposte(QStringList r) { m_risposte = std::move(r); }

    // One start of the program: the request, the run's end (its final message or its error
    // list or the given text), "fine". The texts the program showed; empty on a time-out.
    QStringList esegui(const Richiesta &r, const QString &fine = QString());

    // evasord_run on the company as the program's user and work date, with `argomenti` (the
    // recovery, "--recupera"; a balance-only run, "--solo-a-saldo"): its exit code; what it
    // showed, one line each, into `giornale`.
    int eseguiRun(const QStringList &argomenti, QString *giornale = nullptr);

    // Rows of the company read as the program reads them (amounts as amounts).
    QStringList righe(const QString &sql);

private:
    std::unique_ptr<ScratchDb> m_db;
    suite::FixtureOptions m_ditta;
    std::vector<std::pair<QString, QString>> m_parametri;
    QStringList m_risposte;
    std::unique_ptr<ContestoDiProva> m_contesto;
};
