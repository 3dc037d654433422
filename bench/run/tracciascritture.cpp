#include "tracciascritture.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSqlDriver>
#include <algorithm>
#include <utility>
#include <cstdio>
#include <vector>
#include <sqlite3.h>
#include <stdexcept>

struct TracciaScritture::Stato {
    ProfiloScritture profilo;
    bool righeNellaTransazione = false;
    int paginePerCheckpoint = 1000;
};

namespace {

using Stato = TracciaScritture::Stato;

void suRiga(void *dati, int operazione, const char *, const char *tabella, sqlite3_int64)
{
    auto &s = *static_cast<Stato *>(dati);
    ScrittureTabella &t = s.profilo.tabelle[QString::fromUtf8(tabella).toLower()];
    switch (operazione) {
    case SQLITE_INSERT: ++t.inseriti; break;
    case SQLITE_UPDATE: ++t.aggiornati; break;
    case SQLITE_DELETE: ++t.cancellati; break;
    default: break;
    }
    s.righeNellaTransazione = true;
}

int suCommit(void *dati)
{
    auto &s = *static_cast<Stato *>(dati);
    ++s.profilo.commit;
    if (std::exchange(s.righeNellaTransazione, false))
        ++s.profilo.conRighe;
    return 0; // go on with the commit
}

void suRollback(void *dati)
{
    static_cast<Stato *>(dati)->righeNellaTransazione = false;
}

// Called after each commit that wrote pages to the log. It takes the place of SQLite's own
// automatic checkpoint, which works through the same hook: it checkpoints as that one does.
int suLog(void *dati, sqlite3 *db, const char *nomeDb, int pagineNelLog)
{
    auto &s = *static_cast<Stato *>(dati);
    ++s.profilo.flush;
    if (s.paginePerCheckpoint > 0 && pagineNelLog >= s.paginePerCheckpoint) {
        sqlite3_wal_checkpoint(db, nomeDb);
        ++s.profilo.checkpoint;
    }
    return SQLITE_OK;
}

int paginePerCheckpoint(sqlite3 *db)
{
    sqlite3_stmt *st = nullptr;
    int n = 1000;
    if (sqlite3_prepare_v2(db, "PRAGMA wal_autocheckpoint", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    return n;
}

sqlite3 *handleDi(const QSqlDatabase &db)
{
    const QVariant v = db.driver()->handle();
    if (qstrcmp(v.typeName(), "sqlite3*") != 0 || !v.isValid())
        throw std::runtime_error("not a SQLite connection");
    return *static_cast<sqlite3 *const *>(v.data());
}

int suIstruzione(unsigned tipo, void *dati, void *istruzione, void *ns)
{
    if (tipo != SQLITE_TRACE_PROFILE)
        return 0;
    static const QRegularExpression letterali(QStringLiteral("'[^']*'|\\b\\d+(\\.\\d+)?\\b"));
    QString testo = QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt *>(istruzione)));
    testo.replace(letterali, QStringLiteral("?"));
    auto &t = (*static_cast<std::map<QString, TracciaScritture::TempoIstruzione> *>(dati))[testo];
    ++t.volte;
    t.ns += *static_cast<sqlite3_int64 *>(ns);
    return 0;
}

} // namespace

long long ProfiloScritture::righe() const
{
    long long n = 0;
    for (const auto &[nome, t] : tabelle)
        n += t.inseriti + t.aggiornati + t.cancellati;
    return n;
}

bool ProfiloScritture::stesseScritture(const ProfiloScritture &altro) const
{
    const auto righeUguali = [](const auto &a, const auto &b) {
        return a.first == b.first && a.second.inseriti == b.second.inseriti && a.second.aggiornati == b.second.aggiornati
               && a.second.cancellati == b.second.cancellati;
    };
    return flush == altro.flush
           && std::equal(tabelle.begin(), tabelle.end(), altro.tabelle.begin(), altro.tabelle.end(), righeUguali);
}

QString ProfiloScritture::json() const
{
    QJsonObject o;
    for (const auto &[nome, t] : tabelle)
        o.insert(nome, QJsonObject{{QStringLiteral("i"), t.inseriti}, {QStringLiteral("u"), t.aggiornati},
                                   {QStringLiteral("d"), t.cancellati}});
    return QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("tabelle"), o},
                                                       {QStringLiteral("commit"), commit},
                                                       {QStringLiteral("conRighe"), conRighe},
                                                       {QStringLiteral("flush"), flush},
                                                       {QStringLiteral("checkpoint"), checkpoint}})
                                 .toJson(QJsonDocument::Compact));
}

ProfiloScritture ProfiloScritture::daJson(const QString &testo)
{
    const QJsonObject o = QJsonDocument::fromJson(testo.toUtf8()).object();
    ProfiloScritture p;
    p.commit = o.value(QStringLiteral("commit")).toInteger();
    p.conRighe = o.value(QStringLiteral("conRighe")).toInteger();
    p.flush = o.value(QStringLiteral("flush")).toInteger();
    p.checkpoint = o.value(QStringLiteral("checkpoint")).toInteger();
    const QJsonObject tab = o.value(QStringLiteral("tabelle")).toObject();
    for (auto it = tab.begin(); it != tab.end(); ++it) {
        const QJsonObject t = it.value().toObject();
        p.tabelle[it.key()] = {t.value(QStringLiteral("i")).toInteger(), t.value(QStringLiteral("u")).toInteger(),
                               t.value(QStringLiteral("d")).toInteger()};
    }
    return p;
}

TracciaScritture::TracciaScritture(const QSqlDatabase &db) : m_stato(std::make_unique<Stato>())
{
    auto *h = handleDi(db);
    m_handle = h;
    m_stato->paginePerCheckpoint = paginePerCheckpoint(h);
    sqlite3_update_hook(h, &suRiga, m_stato.get());
    sqlite3_commit_hook(h, &suCommit, m_stato.get());
    sqlite3_rollback_hook(h, &suRollback, m_stato.get());
    sqlite3_wal_hook(h, &suLog, m_stato.get());
}

const ProfiloScritture &TracciaScritture::profilo() const
{
    return m_stato->profilo;
}

void TracciaScritture::cronometraIstruzioni()
{
    sqlite3_trace_v2(static_cast<sqlite3 *>(m_handle), SQLITE_TRACE_PROFILE, &suIstruzione, &tempi);
}

void TracciaScritture::stampaIstruzioni(int quante) const
{
    std::vector<std::pair<long long, QString>> ordine;
    long long totale = 0, volte = 0;
    for (const auto &[testo, t] : tempi) {
        ordine.emplace_back(t.ns, testo);
        totale += t.ns;
        volte += t.volte;
    }
    std::sort(ordine.rbegin(), ordine.rend());
    std::fprintf(stderr, "istruzioni: %lld, %.3f s in SQLite\n", volte, double(totale) / 1e9);
    for (int i = 0; i < quante && i < int(ordine.size()); ++i)
        std::fprintf(stderr, "%8.3f s %7lld  %s\n", double(ordine[size_t(i)].first) / 1e9,
                     tempi.at(ordine[size_t(i)].second).volte, qPrintable(ordine[size_t(i)].second.left(300)));
}

TracciaScritture::~TracciaScritture()
{
    auto *h = static_cast<sqlite3 *>(m_handle);
    sqlite3_trace_v2(h, 0, nullptr, nullptr);
    sqlite3_update_hook(h, nullptr, nullptr);
    sqlite3_commit_hook(h, nullptr, nullptr);
    sqlite3_rollback_hook(h, nullptr, nullptr);
    sqlite3_wal_autocheckpoint(h, m_stato->paginePerCheckpoint); // SQLite's own hook back
}
