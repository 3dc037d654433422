#include "connessionedb.h"

#include "connessione.h"
#include "esecuzione.h"
#include "filesqlite.h"
#include "testoodbc.h"
#include "utilgenerali.h"
#include "winpaths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QDateTime>
#include <QFileInfo>
#include <QTimeZone>
#include <QSqlDriver>
#include <QSqlError>
#include <QUuid>

namespace {

int gContatore = 0;

// Opens a server connection; a login the server refused, or one it never answered within the
// wait, removes the connection and raises.
void apriServer(QSqlDatabase &db, const QString &nomeQt, int attesaS)
{
    QElapsedTimer tempo;
    tempo.start();
    if (db.open())
        return;
    const QString m = db.lastError().databaseText().trimmed();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(nomeQt);
    if (!eAccessoNegato(m) && (m.contains(QLatin1String("timeout"), Qt::CaseInsensitive) || tempo.elapsed() >= 1000LL * attesaS))
        throw erroreDb(ErrDb::OdbcFallito,
                       QStringLiteral("il server del database non ha risposto entro %1 secondi").arg(attesaS));
    throw erroreDb(eAccessoNegato(m) ? ErrDb::AccessoNegato : ErrDb::OdbcFallito, m);
}

} // namespace

ConnessioneDb::ConnessioneDb() = default;

ConnessioneDb::~ConnessioneDb()
{
    UtilGenerali::dimenticaConnessione(this);
    m_connessioni.clear();
}

Variant ConnessioneDb::Impostazione(const QString &nome, int16_t) const
{
    const auto it = m_impostazioni.find(nome);
    return it == m_impostazioni.end() ? Variant() : it->second;
}

void ConnessioneDb::Impostazione(const QString &nome, int16_t, const Variant &valore)
{
    m_impostazioni[nome] = valore;
}

QString ConnessioneDb::Connetti(const QString &nomeDb, int16_t, bool, bool solaLettura, const QString &connetti)
{
    if (!QCoreApplication::instance())
        throw AppError(ErrNum::InvalidCall, QStringLiteral("Connessione al database senza applicazione"));
    const QString nome = nomeDb.trimmed();
    const QString aggiunta = connetti.trimmed().startsWith(QLatin1String("ODBC;"), Qt::CaseInsensitive)
                                 ? connetti.trimmed().mid(5)
                                 : QString();
    if (nome.startsWith(QLatin1String("ODBC;"), Qt::CaseInsensitive)) {
        QString testo = nome.mid(5);
        const QString pwd = Impostazione(QStringLiteral("DbAccPWD")).text();
        if (!pwd.isEmpty() && !testoOdbcHaChiave(testo, QStringLiteral("PWD")))
            testo += QStringLiteral(";PWD=") + valoreOdbcTraGraffe(pwd);
        return pgNativo() ? apriPgNativo(testo) : apriOdbc(testo);
    }
    const bool fileDsn = nome.endsWith(QLatin1String(".dsn"), Qt::CaseInsensitive);
    if (fileDsn || !nome.contains(QLatin1Char('.'))) {
        // The driver manager here does not read file data sources: their keys go in the text.
        QString testo = fileDsn ? testoFileDsn(nome) : QStringLiteral("DSN=") + valoreOdbcSemplice(nome, QStringLiteral("DSN"));
        const QString uid = Impostazione(QStringLiteral("DbSqlPubUID")).text();
        const QString pwd = Impostazione(QStringLiteral("DbSqlPubPWD")).text();
        if (!uid.isEmpty()) testo += QStringLiteral(";UID=") + valoreOdbcSemplice(uid, QStringLiteral("UID"));
        if (!pwd.isEmpty()) testo += QStringLiteral(";PWD=") + valoreOdbcTraGraffe(pwd);
        if (!aggiunta.isEmpty()) testo += QLatin1Char(';') + aggiunta;
        return fileDsn && pgNativo() ? apriPgNativo(testo) : apriOdbc(testo);
    }
    return apriSqlite(mapWindowsPath(nome), solaLettura);
}

QString ConnessioneDb::registra(const QString &nomeQt, MotoreDb motore)
{
    const QString nome = QStringLiteral("Conn%1").arg(++gContatore);
    m_connessioni.push_back(std::make_shared<Connessione>(nome, nomeQt, motore));
    Impostazione(nome + QStringLiteral(":DbTipoSql"), 12, Variant(false));
    UtilGenerali::registraConnessione(this);
    return nome;
}

QString ConnessioneDb::apriSqlite(const QString &percorso, bool solaLettura)
{
    const QFileInfo fi(percorso);
    if (!fi.exists() || !fi.isFile())
        throw erroreDb(ErrDb::FileNonTrovato, percorso);
    const QString nomeQt = QStringLiteral("evasord_") + QUuid::createUuid().toString(QUuid::Id128);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nomeQt);
        db.setDatabaseName(percorso);
        if (solaLettura) db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            const GuastoMotore g = guastoConnessione(db, MotoreDb::SQLite);
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(nomeQt);
            sollevaGuasto(g);
        }
        impostaSqlite(db, FileSqlite::kAttesaPredefinitaMs);
        // SQLite opens anything; the first read tells whether it is a database.
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
            GuastoMotore g = guastoQuery(q, MotoreDb::SQLite);
            q = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(nomeQt);
            if (numeroJet(g) == ErrDb::NonDatabase) throw erroreDb(ErrDb::NonDatabase, percorso);
            sollevaGuasto(g);
        }
        q.finish();
        FileSqlite::prepara(db, solaLettura);
    }
    return registra(nomeQt, MotoreDb::SQLite);
}

QString ConnessioneDb::apriOdbc(const QString &testoConnessione)
{
    const QString nomeQt = QStringLiteral("evasord_") + QUuid::createUuid().toString(QUuid::Id128);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), nomeQt);
        // Statement-level rollback: a failed statement inside a transaction leaves the rest of
        // the transaction standing, as on the suite's Jet engine.
        QString testo = QStringLiteral("Protocol=7.4-2;") + testoConnessione;
        // A server that takes the connection and then goes silent must not hold the program:
        // the login is bounded, and so are the waits on a link that stops answering.
        if (!testoOdbcHaChiave(testo, QStringLiteral("pqopt")))
            testo += QStringLiteral(";pqopt={keepalives=1 keepalives_idle=30 keepalives_interval=10 keepalives_count=3 "
                                    "tcp_user_timeout=60000}");
        db.setDatabaseName(testo);
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(std::max(1, m_attesaConnessione)));
        apriServer(db, nomeQt, m_attesaConnessione);
        if (db.driver()->dbmsType() != QSqlDriver::PostgreSQL) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(nomeQt);
            throw erroreDb(ErrDb::OdbcFallito, QStringLiteral("il server ODBC non è PostgreSQL"));
        }
    }
    impostaSessionePg(nomeQt);
    return registra(nomeQt, MotoreDb::PostgreSQL);
}

bool ConnessioneDb::pgNativo() const
{
    const Variant v = Impostazione(QStringLiteral("DbPgNativo"));
    if (v.isEmpty())
        return qEnvironmentVariable("EVASORD_PG_NATIVO") == QLatin1String("1");
    return !v.isNull() && v.toBool();
}

QString ConnessioneDb::apriPgNativo(const QString &testoConnessione)
{
    const auto valore = [&](std::initializer_list<const char *> chiavi) {
        for (const char *k : chiavi) {
            const QString v = valoreTestoOdbc(testoConnessione, QLatin1String(k));
            if (!v.isEmpty()) return v;
        }
        return QString();
    };
    const QString server = valore({"SERVER", "SERVERNAME"});
    if (server.isEmpty())
        return apriOdbc(testoConnessione); // a text that names no server: the driver's own defaults
    const QString nomeQt = QStringLiteral("evasord_") + QUuid::createUuid().toString(QUuid::Id128);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nomeQt);
        db.setHostName(server);
        const QString porta = valore({"PORT"});
        if (!porta.isEmpty()) db.setPort(porta.toInt());
        db.setDatabaseName(valore({"DATABASE"}));
        db.setUserName(valore({"UID", "USERNAME"}));
        db.setPassword(valore({"PWD", "PASSWORD"}));
        // As on the ODBC route: the login is bounded, and so are the waits on a silent link.
        QString opzioni = QStringLiteral("connect_timeout=%1;keepalives=1;keepalives_idle=30;keepalives_interval=10;"
                                         "keepalives_count=3;tcp_user_timeout=60000")
                              .arg(std::max(2, m_attesaConnessione));
        const QString ssl = valore({"SSLMODE"});
        if (!ssl.isEmpty()) opzioni += QStringLiteral(";sslmode=") + valoreOdbcSemplice(ssl, QStringLiteral("SSLMODE"));
        db.setConnectOptions(opzioni);
        apriServer(db, nomeQt, m_attesaConnessione);
    }
    impostaSessionePg(nomeQt);
    // The library's statements are kept prepared and the server plans them as it is set to: by
    // default a statement is planned for its values a few times, then once for any value when
    // that plan costs no more; a table grown since is analysed again and the plan made anew.
    {
        // This driver sends a date and time as an instant ("TIMESTAMP WITH TIME ZONE", in UTC),
        // which the server stores as the wall time of its session's zone: the session takes the
        // program's zone, so that the stored time is the one written, as through ODBC.
        QSqlQuery q(QSqlDatabase::database(nomeQt, false));
        const QString zona = QString::fromUtf8(QTimeZone::systemTimeZoneId());
        if (zona.isEmpty() || !q.exec(QStringLiteral("SET TimeZone = '%1'").arg(QString(zona).replace(QLatin1Char('\''), QStringLiteral("''"))))) {
            const int secondi = QDateTime::currentDateTime().offsetFromUtc();
            q.exec(QStringLiteral("SET TIME ZONE INTERVAL '%1%2:%3' HOUR TO MINUTE")
                       .arg(secondi < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                       .arg(std::abs(secondi) / 3600, 2, 10, QLatin1Char('0'))
                       .arg(std::abs(secondi) % 3600 / 60, 2, 10, QLatin1Char('0')));
        }
    }
    return registra(nomeQt, MotoreDb::PostgreSQL);
}

void ConnessioneDb::impostaSessionePg(const QString &nomeQt)
{
    QSqlDatabase db = QSqlDatabase::database(nomeQt, false);
    db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    QSqlQuery q(db);
    for (const char *s : {"SET standard_conforming_strings = on", "SET lock_timeout = 2000",
                          "SET client_min_messages = warning"}) {
        if (!q.exec(QLatin1String(s))) {
            const GuastoMotore g = guastoQuery(q, MotoreDb::PostgreSQL);
            q = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(nomeQt);
            sollevaGuasto(g);
        }
    }
}

bool ConnessioneDb::Connesso(const QString &nomeConn) const
{
    if (nomeConn.isEmpty()) return !m_connessioni.empty();
    for (const auto &c : m_connessioni)
        if (stessoNome(c->nome(), nomeConn)) return true;
    return false;
}

void ConnessioneDb::Chiudi(const QString &nomeConn)
{
    if (nomeConn.isEmpty()) {
        m_connessioni.clear();
        return;
    }
    for (auto it = m_connessioni.begin(); it != m_connessioni.end(); ++it)
        if (stessoNome((*it)->nome(), nomeConn)) {
            m_connessioni.erase(it);
            return;
        }
}

Connessione &ConnessioneDb::connessione(const QString &nomeConn)
{
    return const_cast<Connessione &>(std::as_const(*this).connessione(nomeConn));
}

const Connessione &ConnessioneDb::connessione(const QString &nomeConn) const
{
    if (m_connessioni.empty())
        throw erroreDb(ErrDb::OdbcFallito, QStringLiteral("nessuna connessione aperta"));
    if (nomeConn.isEmpty())
        return *m_connessioni.front();
    for (const auto &c : m_connessioni)
        if (stessoNome(c->nome(), nomeConn)) return *c;
    throw erroreDb(ErrDb::ElementoNonTrovato, nomeConn);
}

std::shared_ptr<Connessione> ConnessioneDb::condivisa(const QString &nomeConn)
{
    Connessione *c = &connessione(nomeConn);
    for (const auto &p : m_connessioni)
        if (p.get() == c) return p;
    return nullptr;
}

int32_t ConnessioneDb::Esegui(const QString &nomeConn, const QString &sql, int32_t opzioni)
{
    return connessione(nomeConn).esegui(sql, (opzioni & dbSQLPassThrough) != 0);
}

DatabaseDao ConnessioneDb::Database(const QString &nomeConn)
{
    return DatabaseDao(&connessione(nomeConn).catalogo(), connessione(nomeConn).nome());
}

void ConnessioneDb::BeginTrans(const QString &nomeConn) { connessione(nomeConn).inizia(); }

void ConnessioneDb::CommitTrans(const QString &nomeConn)
{
    if (!m_connessioni.empty()) connessione(nomeConn).conferma();
}

void ConnessioneDb::Rollback(const QString &nomeConn)
{
    if (!m_connessioni.empty()) connessione(nomeConn).annulla();
}

int ConnessioneDb::LivelloTransazioni(const QString &nomeConn) const
{
    return m_connessioni.empty() ? 0 : connessione(nomeConn).livello();
}

uint64_t ConnessioneDb::Annullamenti(const QString &nomeConn) const
{
    return m_connessioni.empty() ? 0 : connessione(nomeConn).annullamenti();
}

void ConnessioneDb::BeginTransTutte()
{
    for (const auto &c : m_connessioni) c->inizia();
}

void ConnessioneDb::CommitTransTutte()
{
    for (const auto &c : m_connessioni) c->conferma();
}

void ConnessioneDb::RollbackTutte()
{
    for (const auto &c : m_connessioni) c->annulla();
}

MotoreDb ConnessioneDb::Motore(const QString &nomeConn) const { return connessione(nomeConn).motore(); }

namespace {

// The backend's start, as a short digest: a process number the server gives again belongs to
// another session.
QString digestAvvio(const QVariant &avvio)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(avvio.toString().toUtf8(), QCryptographicHash::Sha1).toHex().left(8));
}

} // namespace

QString ConnessioneDb::SessioneServer(const QString &nomeConn)
{
    Connessione &c = connessione(nomeConn);
    if (c.motore() != MotoreDb::PostgreSQL)
        return {};
    const QString sql = QStringLiteral("SELECT pid, backend_start::text FROM pg_stat_activity WHERE pid = pg_backend_pid()");
    try {
        QSqlQuery q = c.nuovaQuery();
        c.eseguiIstruzione(q, false, &sql);
        if (!q.next() || q.value(1).isNull())
            return {};
        return q.value(0).toString() + QLatin1Char(':') + digestAvvio(q.value(1));
    } catch (const AppError &) {
        return {};
    }
}

std::optional<bool> ConnessioneDb::SessioneServerAttiva(const QString &sessione, const QString &nomeConn)
{
    Connessione &c = connessione(nomeConn);
    const QStringList parti = sessione.split(QLatin1Char(':'));
    bool numero = false;
    const qlonglong pid = parti.value(0).toLongLong(&numero);
    if (c.motore() != MotoreDb::PostgreSQL || parti.size() != 2 || !numero || pid <= 0)
        return std::nullopt;
    const QString sql = QStringLiteral("SELECT backend_start::text FROM pg_stat_activity WHERE pid = %1").arg(pid);
    try {
        QSqlQuery q = c.nuovaQuery();
        c.eseguiIstruzione(q, false, &sql);
        if (!q.next())
            return false;
        // another login's session may hide its start: the process number is all there is
        return q.value(0).isNull() || digestAvvio(q.value(0)) == parti.at(1);
    } catch (const AppError &) {
        return std::nullopt;
    }
}

void ConnessioneDb::ImpostaAttesaBlocchi(int ms, const QString &nomeConn) { connessione(nomeConn).impostaAttesaBlocchi(ms); }

void ConnessioneDb::AggiornaCatalogo(const QString &nomeConn) { connessione(nomeConn).schemaCambiato(); }
