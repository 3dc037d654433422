#pragma once
// The program's context for one test: an in-process menu client (answering from the test's
// configuration) installed as ggMenuClient, the context reset before and after.
//
//   ContestoDiProva c;
//   c.menu().responder().setParametro("Mag.GesTaglie", "S");
//   c.personale("Tutti", "Massimizzato", "pc1,pc2");
//   auto db = SCRATCH_DB_OR_SKIP(engine);
//   c.creaDitta(*db);                      // the company fixture, opened as the company
#include "inprocessmenuclient.h"
#include "stampaqt.h"

#include <memory>

class ScratchDb;
namespace suite { struct FixtureOptions; }

class ContestoDiProva {
public:
    explicit ContestoDiProva(MenuConfig config = {});
    ~ContestoDiProva();
    ContestoDiProva(const ContestoDiProva &) = delete;
    ContestoDiProva &operator=(const ContestoDiProva &) = delete;

    InProcessMenuClient &menu() { return *m_menu; }
    void parametro(const QString &chiave, const Variant &valore);
    void personale(const QString &sezione, const QString &nome, const Variant &valore);
    // The keys asked with LeggiParametro so far, in order.
    QStringList chiaviLette() const;
    // Every call to the menu server so far, a parameter read written as its key.
    QStringList domande() const;

    // Opens the scratch database as the company database: ggDbAzienda, gsNomeConn and
    // gsNomeDBAzie are set.
    void apriDitta(const ScratchDb &db);
    // Builds the company fixture (or only the empty schema) in the scratch database, opens it
    // as the company and loads the menu parameters coherent with it.
    void creaDitta(const ScratchDb &db, const suite::FixtureOptions &opt);
    void creaDitta(const ScratchDb &db);
    void creaSchema(const ScratchDb &db);

private:
    std::shared_ptr<InProcessMenuClient> m_menu;
};

// The company database name of a scratch database: its file, or "ODBC;" and its connect text.
QString nomeDbAzienda(const ScratchDb &db);
