#pragma once
// The real program (EvasOrd) under the stand-in menu server, on a demo company of its own, for
// the end-to-end tests: a temporary folder with the company database (SQLite, the company
// fixture), the ini chain and the server's configuration of the demo; the program's dialogs
// answered from a list and written to a journal that the test reads.
//
//   ProgrammaDiProva p(EVASORD_PROG);           // folder, company and configuration ready
//   p.config().parametri["VersMenu"] = "1.06";  // changes before the start
//   p.avvia();
//   ASSERT_TRUE(p.attendiAvvio());              // its window is open
//   p.menu().command("fine");
//   EXPECT_EQ(p.attendiFine(), 0);
//   p.dialoghi();                               // what it showed, in order
//
// On a company of a scratch database (SQLite file or PostgreSQL through ODBC, as the program
// reaches it):
//   auto db = SCRATCH_DB_OR_SKIP(engine);
//   ProgrammaDiProva p(EVASORD_PROG, *db);     // a company already built in it
//   p.scriviDitta([](QSqlDatabase &d) { suite::addOrder(d, ordine); });
#include "companyfixture.h"
#include "menuconfig.h"
#include "menuservercontrol.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>

struct DialogoMostrato {
    QString tipo;      // "msgCom", "MsgBox" or "InputBox"
    QString titolo;
    QString testo;
    QStringList pulsanti;
    QString risposta;
};

class ScratchDb;

class ProgrammaDiProva {
public:
    // `programma` is the program's path. The company is built with `ditta` (3 orders by default).
    explicit ProgrammaDiProva(const QString &programma, suite::FixtureOptions ditta = opzioniPiccole());
    // The company already built in `db` (for the year `anno`); `db` must outlive the program.
    ProgrammaDiProva(const QString &programma, const ScratchDb &db, int16_t anno = 2024);
    ~ProgrammaDiProva();

    static suite::FixtureOptions opzioniPiccole();

    // The configuration the server starts with (the demo's); change it before avvia().
    MenuConfig &config() { return m_config; }
    void parametroMenu(const QString &chiave, const Variant &valore);
    void parametroPersonale(const QString &sezione, const QString &nome, const Variant &valore);
    // The answers the program's dialogs get, in order (see the program's dialoghigiornale.h):
    // button numbers, message-box answers, texts, or "attesa:<ms>" for a modal dialog that stays
    // open that long and then answers 1.
    void risposteDialoghi(QStringList risposte) { m_risposte = std::move(risposte); }
    // Extra environment of the program.
    void ambiente(const QString &nome, const QString &valore);
    // What to do to the server once it listens and before the program starts (failures).
    void primaDellAvvio(std::function<void(MenuServerControl &)> prepara) { m_prepara = std::move(prepara); }

    // Writes into the company before the start (orders of a test's own).
    void scriviDitta(const std::function<void(QSqlDatabase &)> &scrivi);

    QString cartella() const;
    // The company database as the program names it: the SQLite file, or "ODBC;" and the
    // connect text.
    QString database() const;
    QString suiteIni() const;

    // Starts the server (refusing connections when asked) and the program.
    void avvia(bool rifiutaConnessioni = false);
    MenuServerControl &menu() { return *m_menu; }

    // Until the start-up is over: its last question to the server (the price display
    // restriction) has been asked. False after the time.
    bool attendiAvvio(int ms = 20000);
    // The program's exit code; nullopt when it has not ended in time (-1 after a crash).
    std::optional<int> attendiFine(int ms = 20000);

    QList<DialogoMostrato> dialoghi() const;
    QStringList testiDialoghi() const;
    // The names of the calls the program made, in order.
    QStringList chiamate() const;

private:
    void scriviConfigurazione(int16_t anno);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_programma;
    const ScratchDb *m_db = nullptr;
    MenuConfig m_config;
    QStringList m_risposte;
    std::vector<std::pair<QString, QString>> m_ambiente;
    std::function<void(MenuServerControl &)> m_prepara;
    std::unique_ptr<MenuServerControl> m_menu;
};
