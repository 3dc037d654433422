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
#include <array>
#include <memory>
#include <utility>
#include <vector>

// The empty level of an article without levels, as the product tables store it.
inline const QString kNoLiv = QStringLiteral("~\u00e7~");

QString art(int n);

// An order of a customer, rule "S" (prices net of VAT, euro):
//   ART00001  10 x 38.25            = 382.50  VAT 22
//   ART00005   2 + 3 levels x 20.00 = 100.00  VAT 22  (levels S/ROSSO 40.00, M/BLU 60.00)
//   ART00003   4 x 12.50 less 10 %  =  45.00  VAT 10
//   transport "TRA"                 =  15.00  VAT 22
suite::OrderInput ordineCompleto(int cliente);

// The fields of the dialog a request fills, each typed as a user types it, then OK.
class Richiesta {
public:
    Richiesta &campo(int indice, const QString &testo);
    Richiesta &cliente(const QString &da, const QString &a) { return campo(40, da).campo(50, a); }
    Richiesta &articolo(const QString &da, const QString &a) { return campo(200, da).campo(210, a); }
    // Cash sale: the box ticked (which empties the fulfilment type).
    Richiesta &corrispettivo();
    // "Manuale" instead of "Automatica", and the keys typed after OK (into the picking window),
    // which hand `consegne` groups over to the run; with none, the keys end the program.
    Richiesta &manuale(QStringList tasti, int consegne = 1);
    // The runs the request makes: the program's work is over after the end of each.
    int runs() const { return m_runs; }
    // The keys, from the date field that has the focus at the start: the mode, then each field
    // in the tab order, then OK and what follows it.
    QString tasti() const;

private:
    std::vector<std::pair<int, QString>> m_campi;
    bool m_corrispettivo = false;
    bool m_manuale = false;
    QStringList m_dopoOk;
    int m_runs = 1;
};

// The one delivery note a run is expected to write, each row as righe() gives it.
struct NotaAttesa {
    QString testata; // Anno, NumRif, FattDocumento, PreDoc, customer, Pagamento, Moneta, RagOrd,
                     // Provenienza, OrdAnno, OrdNumRif, NumDoc, Stato, DataRif
    QString totali;  // TotMerce, TotSpese, TotImpon, TotIva, TotDocum, ImponRitAcc
    QStringList righe;   // RigDet, RigLiv, TipoRiga, Articolo, Qta, ValUnitario, ValTotale, Iva,
                         // NumRifProv, RigaRifProv, QtaProv, by RigDet
    QString riferimento; // NotaSopra of the reference line, RigDet 1
    QStringList livelli; // NumRif, RigLiv, Livello1, Livello2, Qta, ValUnitario, ValTotale, QtaProv, by Qta
    QStringList spese;   // NumRif, Riga, Spesa, Importo, Iva
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
    // Every `evento` ("INSERT", "UPDATE", "DELETE") on `tabella` of a row that meets
    // `condizione` fails, as a database refusing the write would, until accettaScritture.
    void rifiutaScritture(const QString &tabella, const QString &evento, const QString &condizione);
    void accettaScritture(const QString &tabella);
    void parametroMenu(const QString &chiave, const QString &valore) { m_parametri.emplace_back(chiave, valore); }
    void parametroPersonale(const QString &sezione, const QString &nome, const QString &valore)
    {
        m_personali.push_back({sezione, nome, valore});
    }
    void risposte(QStringList r) { m_risposte = std::move(r); }

    // One start of the program: the request, the end of its runs (each its final message or its
    // error list, or the given text), "fine"; or, for a request that makes no run, the end the
    // keys give the program. The texts the program showed; empty on a time-out.
    QStringList esegui(const Richiesta &r, const QString &fine = QString());
    // The program started on the request, its start-up over and its keys on their way, and left
    // running: for a test that acts beside it (another program, a kill). Null on a failed start.
    std::unique_ptr<ProgrammaDiProva> avvia(const Richiesta &r);
    // Waits until the SQL count of the company reaches `n`; false after the time.
    bool attendiConteggio(const QString &sql, int n, int ms = 30000);
    // The menu server's journal of that start, one line an entry ("chiamata NomeUtente() => ...").
    const QStringList &giornaleMenu() const { return m_giornaleMenu; }

    // evasord_run on the company as the program's user and work date, with `argomenti` (the
    // recovery, "--recupera"; a balance-only run, "--solo-a-saldo"): its exit code; what it
    // showed, one line each, into `giornale`.
    int eseguiRun(const QStringList &argomenti, QString *giornale = nullptr);

    // Rows of the company read as the program reads them (amounts as amounts).
    QStringList righe(const QString &sql);
    // Compares the company's delivery notes with the one expected.
    void confrontaNota(const NotaAttesa &attesa);

private:
    std::unique_ptr<ScratchDb> m_db;
    suite::FixtureOptions m_ditta;
    std::vector<std::pair<QString, QString>> m_parametri;
    std::vector<std::array<QString, 3>> m_personali;
    QStringList m_risposte;
    QStringList m_giornaleMenu;
    std::unique_ptr<ContestoDiProva> m_contesto;
};
