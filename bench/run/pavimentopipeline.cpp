#include "pavimentopipeline.h"

#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <libpq-fe.h>
#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Connessione = std::unique_ptr<PGconn, decltype(&PQfinish)>;
using Risultato = std::unique_ptr<PGresult, decltype(&PQclear)>;

[[noreturn]] void fallisce(PGconn *c, const QString &dove)
{
    throw std::runtime_error((dove + QStringLiteral(": ") + QString::fromUtf8(PQerrorMessage(c))).toStdString());
}

// "?" placeholders as $1, $2, ... (the plan's texts hold no literal "?").
QByteArray conSegnaposti(const QString &sql)
{
    QString out;
    int n = 0;
    for (const QChar c : sql)
        out += c == u'?' ? QStringLiteral("$%1").arg(++n) : QString(c);
    return out.toUtf8();
}

// A value as the text the server reads it from; nullopt for Null.
std::optional<QByteArray> testo(const QVariant &v)
{
    if (v.isNull())
        return std::nullopt;
    switch (v.typeId()) {
    case QMetaType::QDateTime: return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8();
    case QMetaType::QDate: return v.toDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
    case QMetaType::Double: return QByteArray::number(v.toDouble(), 'g', 17);
    case QMetaType::Bool: return QByteArray(v.toBool() ? "true" : "false");
    default: return v.toString().toUtf8();
    }
}

void attendi(PGconn *c, ExecStatusType atteso, const char *dove)
{
    Risultato r(PQgetResult(c), &PQclear);
    if (!r || PQresultStatus(r.get()) != atteso)
        fallisce(c, QString::fromLatin1(dove));
    if (atteso != PGRES_PIPELINE_SYNC && PQgetResult(c) != nullptr)
        fallisce(c, QString::fromLatin1(dove) + QStringLiteral(" (more results)"));
}

} // namespace

double eseguiPavimentoInPipeline(const PgServer &server, const QString &nomeDb, const PianoPavimento &piano,
                                 long long transazioni)
{
    const QByteArray info = QStringLiteral("host=%1 port=%2 user=%3 password=%4 dbname=%5")
                                .arg(server.host)
                                .arg(server.port)
                                .arg(server.user, server.password, nomeDb)
                                .toUtf8();
    Connessione c(PQconnectdb(info.constData()), &PQfinish);
    if (PQstatus(c.get()) != CONNECTION_OK)
        fallisce(c.get(), QStringLiteral("connessione"));

    // Every text prepared once, before the clock starts.
    QHash<QString, QByteArray> nomi;
    for (const IstruzionePavimento &i : piano.istruzioni) {
        if (nomi.contains(i.sql))
            continue;
        const QByteArray nome = "p" + QByteArray::number(nomi.size());
        Risultato r(PQprepare(c.get(), nome.constData(), conSegnaposti(i.sql).constData(), 0, nullptr), &PQclear);
        if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
            fallisce(c.get(), i.sql);
        nomi.insert(i.sql, nome);
    }
    if (PQenterPipelineMode(c.get()) != 1)
        fallisce(c.get(), QStringLiteral("pipeline"));

    const long long totale = static_cast<long long>(piano.istruzioni.size());
    transazioni = std::max<long long>(1, std::min(transazioni, totale));
    QElapsedTimer tempo;
    tempo.start();
    long long fatte = 0;
    std::vector<std::optional<QByteArray>> valori;
    std::vector<const char *> puntatori;
    for (long long t = 0; t < transazioni; ++t) {
        const long long fine = totale * (t + 1) / transazioni;
        const long long inizio = fatte;
        if (!PQsendQueryParams(c.get(), "BEGIN", 0, nullptr, nullptr, nullptr, nullptr, 0))
            fallisce(c.get(), QStringLiteral("BEGIN"));
        for (; fatte < fine; ++fatte) {
            const IstruzionePavimento &i = piano.istruzioni[size_t(fatte)];
            valori.clear();
            puntatori.clear();
            for (const QVariant &v : i.valori)
                valori.push_back(testo(v));
            for (const auto &v : valori)
                puntatori.push_back(v ? v->constData() : nullptr);
            if (!PQsendQueryPrepared(c.get(), nomi.value(i.sql).constData(), int(puntatori.size()), puntatori.data(),
                                     nullptr, nullptr, 0))
                fallisce(c.get(), i.sql);
        }
        if (!PQsendQueryParams(c.get(), "COMMIT", 0, nullptr, nullptr, nullptr, nullptr, 0) || !PQpipelineSync(c.get()))
            fallisce(c.get(), QStringLiteral("COMMIT"));
        attendi(c.get(), PGRES_COMMAND_OK, "BEGIN");
        for (long long k = inizio; k < fine; ++k)
            attendi(c.get(), PGRES_COMMAND_OK, "istruzione");
        attendi(c.get(), PGRES_COMMAND_OK, "COMMIT");
        attendi(c.get(), PGRES_PIPELINE_SYNC, "sync");
    }
    const double secondi = double(tempo.nsecsElapsed()) / 1e9;
    PQexitPipelineMode(c.get());
    return secondi;
}
