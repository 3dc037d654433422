#include "connessione.h"

#include "esecuzione.h"
#include "funzionisqlite.h"

#include <QDateTime>
#include <QSqlDriver>
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
    if (m_nativa) {
        // Qt's driver gives libpq's connection, which the library's statements share with it.
        const QVariant h = db().driver()->handle();
        if (h.isValid() && (qstrcmp(h.typeName(), "PGconn*") == 0 || qstrcmp(h.typeName(), "pg_conn*") == 0))
            if (pg_conn *c = *static_cast<pg_conn *const *>(h.constData())) m_pg = std::make_unique<IstruzioniPg>(c);
    }
}

Connessione::~Connessione()
{
    m_preparate.clear();
    m_letture.reset(); // its statements must be gone before the handle closes
    m_pg.reset();
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
    // Qt's PostgreSQL client reads a forward-only query row by row, a mode libpq keeps on for the
    // library's next statement of its own: there the query takes its rows at once.
    q.setForwardOnly(!m_pg);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    return q;
}

QSqlQuery &Connessione::preparata(const QString &sql)
{
    auto it = m_preparate.find(sql);
    if (it == m_preparate.end()) {
        auto q = std::make_unique<QSqlQuery>(nuovaQuery());
        if (!m_pg && !q->prepare(sql))
            sollevaGuasto(guastoQuery(*q, m_motore));
        it = m_preparate.emplace(sql, std::move(q)).first;
    }
    return *it->second;
}

void Connessione::eseguiInterno(const QString &sql)
{
    inviaSospesi();
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

void Connessione::eseguiIstruzione(QSqlQuery &q, bool scrive, const QString *sql)
{
    inviaSospesi();
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
    inviaSospesi();
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
    if (m_pg && !t->schema && t->tipo != TipoIstruzione::Altro)
        return eseguiPg(t->sql, t->tipo != TipoIstruzione::Select, true).modificate();
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
    m_senzaRighe.clear();
    if (m_letture) m_letture->svuota();
    if (m_pg) m_pg->svuota();
    ++m_generazione;
    m_catalogo->svuota();
    m_traduttore->svuota();
}

void Connessione::inizia()
{
    if (m_pg) {
        iniziaPg();
        return;
    }
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
    if (m_pg) {
        confermaPg();
        return;
    }
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
    if (m_pg) {
        annullaPg();
        return;
    }
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

// ------------------------------------------------------------------ the native route

namespace {

const QByteArray kSavepointIstruzione = QByteArrayLiteral("SAVEPOINT evasord_istr");

QByteArray savepoint(int livello) { return QByteArrayLiteral("SAVEPOINT sp") + QByteArray::number(livello); }

} // namespace

void Connessione::inviaSospesi()
{
    if (!m_pg || m_sospesi.empty())
        return;
    std::vector<QByteArray> c;
    c.swap(m_sospesi);
    m_pg->comandi(c);
}

RisultatoPg Connessione::eseguiPg(const QString &sqlTradotto, bool argomenti, bool scrive, IstruzioniPg::Istruzione **istr)
{
    const TestoLegato t = legaLetterali(sqlTradotto, argomenti, true);
    std::vector<ParametroPg> valori(t.valori.size());
    for (size_t k = 0; k < t.valori.size(); ++k) {
        const ValoreLegato &v = t.valori[k];
        if (v.testo) {
            valori[k].testo = v.stringa.toUtf8();
        } else if (v.decimale) {
            valori[k].testo = v.stringa.toUtf8();
            valori[k].tipo = 1700; // numeric, as the server types a decimal written in the text
        } else {
            // typed as the server types the number written in the text: by its magnitude, the
            // sign applied after ("-2147483648" is a bigint)
            valori[k].testo = QByteArray::number(v.numero);
            valori[k].tipo = v.numero > INT32_MIN && v.numero <= INT32_MAX ? 23 : 20;
        }
    }
    return eseguiParametri(t.sql, std::move(valori), scrive, istr, &sqlTradotto);
}

RisultatoPg Connessione::eseguiPg(const QString &sql, const QList<QVariant> &valori, bool scrive)
{
    std::vector<ParametroPg> p;
    p.reserve(static_cast<size_t>(valori.size()));
    for (const QVariant &v : valori) p.push_back(parametroPg(v));
    return eseguiParametri(sql, std::move(p), scrive, nullptr, nullptr);
}

RisultatoPg Connessione::eseguiParametri(const QString &sql, std::vector<ParametroPg> &&valori, bool scrive,
                                         IstruzioniPg::Istruzione **istr, const QString *originale)
{
    // A statement prepared with other types of values is another statement.
    QString chiave = sql;
    for (size_t k = 0; k < valori.size(); ++k)
        if (valori[k].tipo != 0 && valori[k].tipo != 23)
            chiave += QStringLiteral("\n-- %1:%2").arg(k).arg(valori[k].tipo);
    IstruzioniPg::Istruzione &ist = m_pg->istruzione(chiave);
    if (istr) *istr = &ist;
    std::vector<QByteArray> prima;
    prima.swap(m_sospesi);
    const bool protetta = m_livello > 0;
    // Rolling back to the savepoint undoes only the failed statement as long as nothing was
    // written since it was set; a write sets the next one in its own round trip.
    if (protetta && m_puntoIstruzione.back() == PuntoIstruzione::Scritto) {
        prima.push_back(QByteArrayLiteral("RELEASE ") + kSavepointIstruzione);
        prima.push_back(kSavepointIstruzione);
        m_puntoIstruzione.back() = PuntoIstruzione::Pulito;
    }
    std::vector<QByteArray> dopo;
    if (protetta && scrive) dopo = {QByteArrayLiteral("RELEASE ") + kSavepointIstruzione, kSavepointIstruzione};
    IstruzioniPg::Esito e = ist.testuale ? m_pg->esegui(prima, nullptr, *originale, {}, dopo)
                                         : m_pg->esegui(prima, &ist, sql, valori, dopo);
    if (e.riuscito)
        return std::move(e.risultato);
    if (protetta && !e.falliPrima) {
        try {
            m_pg->comandi({QByteArrayLiteral("ROLLBACK TO ") + kSavepointIstruzione});
        } catch (const AppError &) {
            // The failure reported is the statement's.
        }
    }
    // A literal whose type the server reads from the literal itself (a text that stands alone in
    // a select list, a function's argument): the statement goes as written from now on.
    if (originale && !ist.testuale && !e.falliPrima && ist.nome.isEmpty() &&
        (e.guasto.statoSql == QLatin1String("42P18") || e.guasto.statoSql == QLatin1String("42725") ||
         e.guasto.statoSql == QLatin1String("42883"))) {
        ist.testuale = true;
        e = m_pg->esegui({}, nullptr, *originale, {}, dopo);
        if (e.riuscito)
            return std::move(e.risultato);
        if (protetta) {
            try {
                m_pg->comandi({QByteArrayLiteral("ROLLBACK TO ") + kSavepointIstruzione});
            } catch (const AppError &) {
            }
        }
    }
    sollevaGuasto(e.guasto);
}

void Connessione::iniziaPg()
{
    // Held back: the level reaches the server with its first statement, and one where no
    // statement ran costs nothing.
    if (m_livello == 0) {
        m_sospesi = {QByteArrayLiteral("BEGIN"), kSavepointIstruzione};
        m_puntoIstruzione.clear();
    } else {
        m_sospesi.push_back(savepoint(m_livello + 1));
        m_sospesi.push_back(kSavepointIstruzione);
    }
    m_puntoIstruzione.push_back(PuntoIstruzione::Pulito);
    ++m_livello;
}

void Connessione::confermaPg()
{
    const auto nonInviato = [&] {
        const size_t n = m_sospesi.size();
        return n >= 2 && m_sospesi[n - 1] == kSavepointIstruzione &&
               m_sospesi[n - 2] == (m_livello > 1 ? savepoint(m_livello) : QByteArrayLiteral("BEGIN"));
    };
    if (m_livello > 1) {
        if (nonInviato()) {
            m_sospesi.resize(m_sospesi.size() - 2);
        } else {
            m_sospesi.push_back(QByteArrayLiteral("RELEASE ") + savepoint(m_livello));
            // The level's writes now stand after the statement savepoint of the level above.
            m_puntoIstruzione[m_puntoIstruzione.size() - 2] = PuntoIstruzione::Scritto;
        }
        --m_livello;
        m_puntoIstruzione.pop_back();
        return;
    }
    if (nonInviato()) {
        m_sospesi.clear();
        m_livello = 0;
        return;
    }
    std::vector<QByteArray> prima;
    prima.swap(m_sospesi);
    IstruzioniPg::Esito e = m_pg->esegui(prima, nullptr, QStringLiteral("COMMIT"), {}, {});
    m_livello = 0;
    if (e.riuscito && e.risultato.comando() == "ROLLBACK") { // the transaction had failed
        e.riuscito = false;
        e.guasto.motore = MotoreDb::PostgreSQL;
        e.guasto.statoSql = QStringLiteral("40000");
        e.guasto.messaggio = QStringLiteral("la transazione è stata annullata dal server");
    }
    if (!e.riuscito) {
        ++m_annullamenti;
        try {
            m_pg->comandi({QByteArrayLiteral("ROLLBACK")});
        } catch (const AppError &) {
            // The failure reported is the commit's.
        }
        sollevaGuasto(e.guasto);
    }
}

void Connessione::annullaPg()
{
    const size_t n = m_sospesi.size();
    const bool nonInviato = n >= 2 && m_sospesi[n - 1] == kSavepointIstruzione &&
                            m_sospesi[n - 2] == (m_livello > 1 ? savepoint(m_livello) : QByteArrayLiteral("BEGIN"));
    if (m_livello > 1) {
        const QByteArray sp = savepoint(m_livello);
        --m_livello;
        m_puntoIstruzione.pop_back();
        if (nonInviato) {
            m_sospesi.resize(n - 2);
            return;
        }
        m_sospesi.push_back(QByteArrayLiteral("ROLLBACK TO ") + sp);
        m_sospesi.push_back(QByteArrayLiteral("RELEASE ") + sp);
        inviaSospesi();
        return;
    }
    m_livello = 0;
    m_sospesi.clear();
    if (!nonInviato)
        m_pg->comandi({QByteArrayLiteral("ROLLBACK")});
}
