#include "connessione.h"

#include "esecuzione.h"
#include "funzionisqlite.h"

#include <QSqlDriver>
#include <sqlite3.h>

Connessione::Connessione(QString nome, QString nomeQt, MotoreDb motore)
    : m_nome(std::move(nome)), m_nomeQt(std::move(nomeQt)), m_motore(motore)
{
    m_catalogo = std::make_unique<CatalogoDb>(db(), m_motore);
    m_traduttore = std::make_unique<TraduttoreSql>(m_motore, *m_catalogo);
    if (m_motore == MotoreDb::SQLite) {
        // The translated statements call the library's own functions for Jet's meaning.
        const QVariant h = db().driver()->handle();
        if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0)
            if (sqlite3 *s = *static_cast<sqlite3 *const *>(h.constData())) {
                registraFunzioniJet(s);
                m_letture = std::make_unique<IstruzioniSqlite>(s);
            }
    }
}

Connessione::~Connessione()
{
    m_preparate.clear();
    m_letture.reset(); // its statements must be gone before the handle closes
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
        if (!q->prepare(sql))
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

void Connessione::esegui(const QString &sql, bool passante)
{
    if (passante) {
        eseguiInterno(sql);
        return;
    }
    const auto t = m_traduttore->traduci(sql);
    if (m_letture && !t->schema && t->tipo != TipoIstruzione::Altro) {
        m_letture->esegui(legaLetterali(t->sql, t->tipo != TipoIstruzione::Select));
        return;
    }
    eseguiInterno(t->sql);
    if (t->schema)
        schemaCambiato();
}

void Connessione::schemaCambiato()
{
    m_preparate.clear();
    if (m_letture) m_letture->svuota();
    ++m_generazione;
    m_catalogo->svuota();
    m_traduttore->svuota();
}

void Connessione::inizia()
{
    if (m_livello == 0) {
        if (m_motore == MotoreDb::SQLite) {
            eseguiTransazione(QStringLiteral("BEGIN IMMEDIATE"));
        } else {
            QSqlDatabase d = db();
            if (!d.transaction())
                sollevaGuasto(guastoConnessione(d, m_motore));
        }
    } else {
        eseguiTransazione(QStringLiteral("SAVEPOINT sp%1").arg(m_livello + 1));
    }
    ++m_livello;
}

void Connessione::conferma()
{
    if (m_livello == 0)
        return;
    if (m_livello > 1) {
        eseguiTransazione(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(m_livello));
        --m_livello;
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
            sollevaGuasto(g);
        }
    }
    m_livello = 0;
}

void Connessione::annulla()
{
    if (m_livello == 0)
        return;
    if (m_livello > 1) {
        const QString sp = QStringLiteral("sp%1").arg(m_livello);
        --m_livello;
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
