#include "connessione.h"

#include "esecuzione.h"
#include "funzionisqlite.h"

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlField>
#include <sqlite3.h>

Connessione::Connessione(QString nome, QString nomeQt, MotoreDb motore)
    : m_nome(std::move(nome)), m_nomeQt(std::move(nomeQt)), m_motore(motore)
{
    m_nativa = m_motore == MotoreDb::PostgreSQL && db().driverName() == QLatin1String("QPSQL");
    m_catalogo = std::make_unique<CatalogoDb>(db(), m_motore);
    m_traduttore = std::make_unique<TraduttoreSql>(m_motore, *m_catalogo);
    if (m_motore == MotoreDb::SQLite) {
        // The translated statements call the library's own functions for Jet's meaning.
        if (sqlite3 *s = handleSqlite(db())) {
            registraFunzioniJet(s);
            m_letture = std::make_unique<IstruzioniSqlite>(s);
        }
    }
}

Connessione::~Connessione()
{
    m_preparate.clear();
    m_letture.reset(); // its statements must be gone before the handle closes
    m_testiNativi.clear();
    m_traduttore.reset();
    m_catalogo.reset();
    {
        QSqlDatabase d = db();
        if (d.isOpen()) {
            if (m_livello > 0) d.rollback();
            d.close();
        }
    }
    QSqlDatabase::removeDatabase(m_nomeQt);
}

QSqlQuery Connessione::nuovaQuery() const
{
    QSqlQuery q(db());
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    return q;
}

QSqlQuery &Connessione::preparata(const QString &sql)
{
    auto it = m_preparate.find(sql);
    if (it == m_preparate.end()) {
        auto q = std::make_unique<QSqlQuery>(nuovaQuery());
        if (m_nativa)
            m_testiNativi.emplace(q.get(), sql); // sent as text with its values: see eseguiIstruzione
        else if (!q->prepare(sql))
            sollevaGuasto(guastoQuery(*q, m_motore));
        it = m_preparate.emplace(sql, std::move(q)).first;
    }
    return *it->second;
}

void Connessione::eseguiInterno(const QString &sql)
{
    QSqlQuery q = nuovaQuery();
    eseguiTesto(q, m_motore, sql);
}

void Connessione::eseguiTransazione(const QString &sql)
{
    if (m_letture) // the same few texts again and again: kept prepared
        m_letture->esegui(TestoLegato{sql, {}});
    else
        eseguiInterno(sql);
}

namespace {

// Null as the driver reads a bound value: a typed null as well (a null text, date or time).
bool nullo(const QVariant &v)
{
    if (v.isNull() || v.data_ptr().is_null)
        return true;
    switch (v.metaType().id()) {
    case QMetaType::QString: return v.toString().isNull();
    case QMetaType::QByteArray: return v.toByteArray().isNull();
    case QMetaType::QDate: return v.toDate().isNull();
    case QMetaType::QTime: return v.toTime().isNull();
    case QMetaType::QDateTime: return v.toDateTime().isNull();
    default: return false;
    }
}

} // namespace

// The statement's text with each "?" (outside quotes) replaced by its bound value as the driver
// writes it: the literals this driver would send in its own EXECUTE.
QString Connessione::testoConValori(const QSqlQuery &q, const QString &sql) const
{
    const QList<QVariant> valori = q.boundValues();
    const QSqlDriver *driver = q.driver();
    QString t;
    t.reserve(sql.size() + 12 * valori.size());
    qsizetype k = 0;
    QChar apice;
    for (const QChar c : sql) {
        if (!apice.isNull()) {
            if (c == apice) apice = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            apice = c;
        } else if (c == QLatin1Char('?') && k < valori.size()) {
            const QVariant &v = valori[k++];
            if (nullo(v)) {
                t += QStringLiteral("NULL");
            } else {
                QSqlField f(QString(), v.metaType());
                f.setValue(v);
                t += driver->formatValue(f);
            }
            continue;
        }
        t += c;
    }
    return t;
}

void Connessione::eseguiIstruzione(QSqlQuery &q, bool scrive, const QString *sql)
{
    // On the native route a statement of the library's own goes as text with its values, so that
    // a write carries the next savepoint in its round trip like a statement of the caller's.
    QString testo;
    if (!sql && m_nativa) {
        if (const auto it = m_testiNativi.find(&q); it != m_testiNativi.end()) {
            testo = testoConValori(q, it->second);
            sql = &testo;
        }
    }
    const bool protetta = m_nativa && m_livello > 0;
    // Rolling back to the savepoint undoes only the failed statement as long as nothing was
    // written since it was set: a new one is needed only after a write.
    if (protetta && m_puntoIstruzione.back() == PuntoIstruzione::Scritto) {
        eseguiControllo(QStringLiteral("RELEASE SAVEPOINT %1; SAVEPOINT %1").arg(QLatin1String(kPuntoIstruzione)));
        m_puntoIstruzione.back() = PuntoIstruzione::Pulito;
    }
    // A write given as text sets the next savepoint in the same round trip; the driver answers
    // with the first statement's result (its failure stops the rest of the text).
    const bool dopo = protetta && scrive && sql;
    if (dopo)
        q.setForwardOnly(false); // the driver then takes every result of the text
    if (sql ? q.exec(dopo ? *sql + QStringLiteral("; RELEASE SAVEPOINT %1; SAVEPOINT %1").arg(QLatin1String(kPuntoIstruzione)) : *sql)
            : q.exec()) {
        if (protetta && scrive && !dopo)
            m_puntoIstruzione.back() = PuntoIstruzione::Scritto;
        return;
    }
    const GuastoMotore g = guastoQuery(q, m_motore);
    if (protetta) {
        q.finish();
        try {
            eseguiInterno(QStringLiteral("ROLLBACK TO SAVEPOINT ") + QLatin1String(kPuntoIstruzione));
        } catch (const AppError &) {
            // The failure reported is the statement's.
        }
    }
    sollevaGuasto(g);
}

void Connessione::eseguiControllo(const QString &sql)
{
    QSqlQuery q(db()); // not forward-only: the driver then runs every statement of the text
    eseguiTesto(q, m_motore, sql);
}

int Connessione::esegui(const QString &sql, bool passante)
{
    if (passante) {
        QSqlQuery q = nuovaQuery();
        eseguiIstruzione(q, true, &sql);
        return q.numRowsAffected();
    }
    const auto t = m_traduttore->traduci(sql);
    if (m_letture && !t->schema && t->tipo != TipoIstruzione::Altro)
        return m_letture->esegui(legaLetterali(t->sql, t->tipo != TipoIstruzione::Select));
    QSqlQuery q = nuovaQuery();
    eseguiIstruzione(q, true, &t->sql);
    const int righe = q.numRowsAffected();
    if (t->schema)
        schemaCambiato();
    return righe;
}

void Connessione::schemaCambiato()
{
    m_preparate.clear();
    if (m_letture) m_letture->svuota();
    m_testiNativi.clear();
    ++m_generazione;
    m_catalogo->svuota();
    m_traduttore->svuota();
}

void Connessione::inizia()
{
    // On the native route each level starts with its statement savepoint, in the same round trip.
    const QString punto = m_nativa ? QStringLiteral("; SAVEPOINT ") + QLatin1String(kPuntoIstruzione) : QString();
    if (m_livello == 0) {
        if (m_motore == MotoreDb::SQLite) {
            eseguiTransazione(QStringLiteral("BEGIN IMMEDIATE"));
        } else if (m_nativa) {
            eseguiControllo(QStringLiteral("BEGIN") + punto);
        } else {
            QSqlDatabase d = db();
            if (!d.transaction())
                sollevaGuasto(guastoConnessione(d, m_motore));
        }
        m_puntoIstruzione.clear();
    } else if (m_nativa) {
        eseguiControllo(QStringLiteral("SAVEPOINT sp%1").arg(m_livello + 1) + punto);
    } else {
        eseguiTransazione(QStringLiteral("SAVEPOINT sp%1").arg(m_livello + 1));
    }
    m_puntoIstruzione.push_back(PuntoIstruzione::Pulito);
    ++m_livello;
}

void Connessione::conferma()
{
    if (m_livello == 0)
        return;
    if (m_livello > 1) {
        eseguiTransazione(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(m_livello));
        --m_livello;
        // The level's statement savepoint went with it; the level's writes now stand after the
        // savepoint of the level above.
        m_puntoIstruzione.pop_back();
        if (m_puntoIstruzione.back() == PuntoIstruzione::Pulito) m_puntoIstruzione.back() = PuntoIstruzione::Scritto;
        return;
    }
    if (m_motore == MotoreDb::SQLite) {
        // A commit refused while other users read keeps the transaction open: the caller may
        // retry or roll back.
        eseguiTransazione(QStringLiteral("COMMIT"));
    } else {
        QSqlDatabase d = db();
        if (!d.commit()) {
            const GuastoMotore g = guastoConnessione(d, m_motore);
            d.rollback();
            m_livello = 0;
            ++m_annullamenti;
            sollevaGuasto(g);
        }
    }
    m_livello = 0;
}

void Connessione::annulla()
{
    if (m_livello == 0)
        return;
    ++m_annullamenti;
    if (m_livello > 1) {
        const QString sp = QStringLiteral("sp%1").arg(m_livello);
        --m_livello;
        m_puntoIstruzione.pop_back();
        eseguiTransazione(QStringLiteral("ROLLBACK TO SAVEPOINT ") + sp);
        eseguiTransazione(QStringLiteral("RELEASE SAVEPOINT ") + sp);
        return;
    }
    m_livello = 0;
    if (m_motore == MotoreDb::SQLite) {
        QSqlQuery q = nuovaQuery();
        q.exec(QStringLiteral("ROLLBACK")); // fails only when SQLite has already rolled back
    } else {
        QSqlDatabase d = db();
        if (!d.rollback())
            sollevaGuasto(guastoConnessione(d, m_motore));
    }
}

void Connessione::impostaAttesaBlocchi(int ms)
{
    m_attesaMs = ms;
    if (m_motore == MotoreDb::SQLite) {
        impostaSqlite(db(), ms);
    } else {
        QSqlQuery q = nuovaQuery();
        eseguiTesto(q, m_motore, QStringLiteral("SET lock_timeout = %1").arg(ms));
    }
}
