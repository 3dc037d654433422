#include "processievasione.h"

namespace {

// Another session of the same user has documents of its run in progress.
const QString kInterrotte = QStringLiteral("Risultano delle elaborazioni interrotte");

} // namespace

bool EsitoRun::terminata() const
{
    // 3: ended after errors or after giving up on a lock; 1 with nothing left to fulfil
    return ((codice == 0 || codice == 3) && giornale.contains(QStringLiteral("Elaborazione terminata"))) ||
           (codice == 1 && (giornale.contains(QStringLiteral("Non ci sono Ordini vendita nell'intervallo")) ||
                            giornale.contains(kInterrotte)));
}

bool EsitoRun::bloccata() const
{
    return giornale.contains(QStringLiteral(" in uso da ")) || giornale.contains(QStringLiteral("Doc. in uso da")) ||
           giornale.contains(QStringLiteral(" Gi\u00e0 evaso. ")) || giornale.contains(kInterrotte);
}

ProcessiEvasione::ProcessiEvasione(QString programma, QString dbAzienda, int anno)
    : m_programma(std::move(programma)), m_db(std::move(dbAzienda)), m_anno(anno)
{
}

std::unique_ptr<QProcess> ProcessiEvasione::avvia(const QStringList &argomenti)
{
    auto p = std::make_unique<QProcess>();
    p->setProgram(m_programma);
    p->setArguments(argomenti);
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->start();
    return p;
}

EsitoRun ProcessiEvasione::attendi(QProcess &p, const RunConcorrente &r, int attesaMs)
{
    EsitoRun e;
    e.richiesta = r;
    if (p.waitForFinished(attesaMs) && p.exitStatus() == QProcess::NormalExit)
        e.codice = p.exitCode();
    else if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished(5000);
    }
    e.giornale = QString::fromUtf8(p.readAll());
    return e;
}

std::vector<EsitoRun> ProcessiEvasione::esegui(const std::vector<RunConcorrente> &richieste, int attesaMs)
{
    std::vector<std::unique_ptr<QProcess>> processi;
    for (const RunConcorrente &r : richieste)
        processi.push_back(avvia(argomenti(r)));
    std::vector<EsitoRun> esiti;
    for (size_t i = 0; i < richieste.size(); ++i)
        esiti.push_back(attendi(*processi[i], richieste[i], attesaMs));
    return esiti;
}

EsitoRun ProcessiEvasione::recupera(const QString &utente, int attesaMs)
{
    RunConcorrente r;
    r.utente = utente;
    auto p = avvia({QStringLiteral("--db"), m_db, QStringLiteral("--utente"), utente, QStringLiteral("--data"),
                            dataEvasione(), QStringLiteral("--recupera")});
    return attendi(*p, r, attesaMs);
}

QString ProcessiEvasione::dataEvasione() const
{
    return QStringLiteral("31/12/%1").arg(m_anno);
}

QStringList ProcessiEvasione::argomenti(const RunConcorrente &r) const
{
    QStringList a{QStringLiteral("--db"), m_db, QStringLiteral("--utente"), r.utente, QStringLiteral("--data"),
                  dataEvasione(), QStringLiteral("--tipo-ordine"), r.tipoOrdine,
                  QStringLiteral("--numero-da"), QString::number(r.ordineDa), QStringLiteral("--numero-a"),
                  QString::number(r.ordineA)};
    if (!r.raggruppa.isEmpty())
        a << QStringLiteral("--raggruppa") << r.raggruppa;
    // the fixture's non-EU currency
    a << QStringLiteral("--cambio") << QStringLiteral("USD=1,1");
    if (r.tipoDoc.isEmpty())
        a << QStringLiteral("--corrispettivo");
    else
        a << QStringLiteral("--tipo-evasione") << r.tipoDoc;
    return a;
}
