#pragma once
// Runs of the fulfilment program (evasord_run) started together on one company database, each
// as its own user on its own range of orders; their journals and exit codes once they end.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct RunConcorrente {
    QString utente;
    int ordineDa = 0, ordineA = 0;    // the range of order numbers
    QString tipoOrdine = QStringLiteral("OC");
    QString tipoDoc = QStringLiteral("DDT"); // "DDT", "FAT"; empty for a cash sale
    QString raggruppa;                        // the grouping rule given to its orders first
};

struct EsitoRun {
    RunConcorrente richiesta;
    int codice = -1;   // exit code (-1: did not end in time); 3 after errors or a lock given up
    QString giornale;  // the dialogs as journaled, and anything else the run wrote
    bool terminata() const;     // it ended with "Elaborazione terminata", or found nothing left to do
    bool bloccata() const;      // it met a record in use by another user (or session) and gave up
};

class ProcessiEvasione {
public:
    ProcessiEvasione(QString programma, QString dbAzienda, int anno);
    // Starts them all, then waits for every one.
    std::vector<EsitoRun> esegui(const std::vector<RunConcorrente> &richieste, int attesaMs);
    // The recovery of the interrupted runs of one user.
    EsitoRun recupera(const QString &utente, int attesaMs);

private:
    std::unique_ptr<QProcess> avvia(const QStringList &argomenti);
    EsitoRun attendi(QProcess &p, const RunConcorrente &r, int attesaMs);
    QStringList argomenti(const RunConcorrente &r) const;
    QString dataEvasione() const; // 31/12 of the year: every order of the fixture registered by then

    QString m_programma;
    QString m_db;
    int m_anno;
};
