#include "casoevasione.h"

#include "aiutodiprova.h"
#include "blocchi.h"
#include "companyfixture.h"
#include "connessione.h"
#include "connessionedb.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "datiditta.h"
#include "dialoghi.h"
#include "pavimento.h"
#include "scevaordven.h"
#include "servizievasioneprogramma.h"
#include "tracciascritture.h"

#include <QElapsedTimer>
#include <sys/resource.h>
#include <cstdio>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <memory>
#include <optional>
#include <stdexcept>

namespace {

const QString kUtente = QStringLiteral("mario");

// Every dialog of the run answered with its default button, its text kept.
class DialoghiPredefiniti : public Dialoghi {
public:
    int msgCom(const RichiestaMsgCom &r) override
    {
        testi << r.psLabel;
        return r.piComDefault;
    }
    int MsgBox(const QString &testo, PulsantiMsg, IconaMsg, const QString &) override
    {
        testi << testo;
        return RispostaMsg::Ok;
    }
    std::optional<QString> InputBox(const QString &prompt, const QString &, const QString &) override
    {
        testi << prompt;
        return std::nullopt;
    }
    QStringList testi;
};

void esegui(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw std::runtime_error((sql + QStringLiteral(": ") + q.lastError().text()).toStdString());
}

int conta(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next())
        throw std::runtime_error((sql + QStringLiteral(": ") + q.lastError().text()).toStdString());
    return q.value(0).toInt();
}

// Every order an invoice order grouped by rule "S": one invoice per customer and grouping.
void soloFatture(const QSqlDatabase &db)
{
    esegui(db, QStringLiteral("UPDATE OrdVenTest SET FattDocumento = 'OCF', RagOrd = 'S'"));
}

long long kbDiStato(const char *voce)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &riga : f.readAll().split('\n'))
        if (riga.startsWith(voce))
            return riga.mid(qstrlen(voce)).trimmed().split(' ').first().toLongLong();
    return 0;
}

double secondiCpu()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The peak resident memory starts again from the memory in use now.
void azzeraPicco()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// A connection of the bench to a scratch database, closed and removed with it.
class Collegamento {
public:
    Collegamento(const ScratchDb &db, const QString &nome) : m_nome(nome), m_db(db.open(nome)) { verifica(db); }
    // PostgreSQL through Qt's own client driver instead of ODBC.
    Collegamento(const ScratchDb &db, const QString &nome, const PgServer &server)
        : m_nome(nome), m_db(QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nome))
    {
        m_db.setHostName(server.host);
        m_db.setPort(server.port);
        m_db.setUserName(server.user);
        m_db.setPassword(server.password);
        m_db.setDatabaseName(db.databaseName());
        m_db.open();
        verifica(db);
    }
    ~Collegamento()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_nome);
    }
    Collegamento(const Collegamento &) = delete;
    Collegamento &operator=(const Collegamento &) = delete;
    QSqlDatabase &db() { return m_db; }

private:
    void verifica(const ScratchDb &db)
    {
        if (!m_db.isOpen())
            throw std::runtime_error(m_db.lastError().text().toStdString());
        if (db.engine() == Engine::SQLite)
            esegui(m_db, QStringLiteral("PRAGMA synchronous = FULL")); // as the company connection
    }
    QString m_nome;
    QSqlDatabase m_db;
};

} // namespace

QString RisultatoCaso::json() const
{
    return QString::fromUtf8(QJsonDocument(QJsonObject{
                                               {QStringLiteral("motore"), engineName(motore)},
                                               {QStringLiteral("ordini"), ordini},
                                               {QStringLiteral("fixture"), secondiFixture},
                                               {QStringLiteral("run"), secondiRun},
                                               {QStringLiteral("pavimento"), secondiPavimento},
                                               {QStringLiteral("pavimentoNativo"), secondiPavimentoNativo},
                                               {QStringLiteral("cpuRun"), cpuRun},
                                               {QStringLiteral("cpuPavimento"), cpuPavimento},
                                               {QStringLiteral("piccoKb"), piccoKb},
                                               {QStringLiteral("transazioni"), transazioni},
                                               {QStringLiteral("scritture"), scritture},
                                               {QStringLiteral("istruzioniPavimento"), istruzioniPavimento},
                                               {QStringLiteral("fatture"), fatture},
                                               {QStringLiteral("righeFattura"), righeFattura},
                                               {QStringLiteral("livelliFattura"), livelliFattura},
                                               {QStringLiteral("righeOrdine"), righeOrdine},
                                               {QStringLiteral("righeOrdineConLivelli"), righeOrdineConLivelli},
                                               {QStringLiteral("errore"), errore},
                                           })
                                 .toJson(QJsonDocument::Compact));
}

RisultatoCaso RisultatoCaso::daJson(const QString &testo)
{
    const QJsonObject o = QJsonDocument::fromJson(testo.toUtf8()).object();
    RisultatoCaso r;
    r.motore = o.value(QStringLiteral("motore")).toString() == engineName(Engine::SQLite) ? Engine::SQLite
                                                                                          : Engine::PostgreSQL;
    r.ordini = o.value(QStringLiteral("ordini")).toInt();
    r.secondiFixture = o.value(QStringLiteral("fixture")).toDouble();
    r.secondiRun = o.value(QStringLiteral("run")).toDouble();
    r.secondiPavimento = o.value(QStringLiteral("pavimento")).toDouble();
    r.secondiPavimentoNativo = o.value(QStringLiteral("pavimentoNativo")).toDouble();
    r.cpuRun = o.value(QStringLiteral("cpuRun")).toDouble();
    r.cpuPavimento = o.value(QStringLiteral("cpuPavimento")).toDouble();
    r.piccoKb = o.value(QStringLiteral("piccoKb")).toInteger();
    r.transazioni = o.value(QStringLiteral("transazioni")).toInteger();
    r.scritture = o.value(QStringLiteral("scritture")).toInteger();
    r.istruzioniPavimento = o.value(QStringLiteral("istruzioniPavimento")).toInteger();
    r.fatture = o.value(QStringLiteral("fatture")).toInt();
    r.righeFattura = o.value(QStringLiteral("righeFattura")).toInt();
    r.livelliFattura = o.value(QStringLiteral("livelliFattura")).toInt();
    r.righeOrdine = o.value(QStringLiteral("righeOrdine")).toInt();
    r.righeOrdineConLivelli = o.value(QStringLiteral("righeOrdineConLivelli")).toInt();
    r.errore = o.value(QStringLiteral("errore")).toString();
    return r;
}

RisultatoCaso eseguiCaso(Engine motore, int ordini, const QString &profilo)
{
    RisultatoCaso r;
    r.motore = motore;
    r.ordini = ordini;
    ensureCoreApp();
    ContestoDiProva contesto;
    contesto.menu().responder().setUtente(kUtente);
    auto ditta = ScratchDb::create(motore);
    auto copia = ScratchDb::create(motore);
    // On PostgreSQL a second copy, for the floor through Qt's own client driver.
    auto copiaNativa = motore == Engine::PostgreSQL ? ScratchDb::create(motore) : nullptr;
    if (!ditta || !copia || (motore == Engine::PostgreSQL && !copiaNativa))
        throw std::runtime_error("database not available");
    const suite::FixtureOptions opt{.orders = ordini, .linesPerOrder = 5};

    // The company and its untouched copy for the floor, the same rows in both.
    QElapsedTimer tempo;
    tempo.start();
    Collegamento prima(*copia, QStringLiteral("pavimento"));
    suite::buildCompany(prima.db(), opt);
    soloFatture(prima.db());
    std::unique_ptr<Collegamento> nativa;
    if (copiaNativa) {
        {
            Collegamento c(*copiaNativa, QStringLiteral("pavimento_nativo_crea"));
            suite::buildCompany(c.db(), opt);
            soloFatture(c.db());
        }
        nativa = std::make_unique<Collegamento>(*copiaNativa, QStringLiteral("pavimento_nativo"), *pgServer());
    }
    contesto.creaDitta(*ditta, opt);
    Collegamento dopo(*ditta, QStringLiteral("risultato"));
    soloFatture(dopo.db());
    r.secondiFixture = double(tempo.nsecsElapsed()) / 1e9;
    r.righeOrdine = conta(dopo.db(), QStringLiteral("SELECT COUNT(*) FROM OrdVenDett WHERE TipoRiga = 'A'"));
    r.righeOrdineConLivelli = conta(
        dopo.db(), QStringLiteral("SELECT COUNT(*) FROM OrdVenDett d WHERE EXISTS (SELECT 1 FROM OrdVenLiv l WHERE "
                                  "l.Anno = d.Anno AND l.NumRif = d.NumRif AND l.RigLiv = d.RigLiv)"));

    // The program as start-up leaves it, its services the real ones.
    gsProgramma = QStringLiteral("EvaOrd");
    gsProgrammaPar = QStringLiteral("EvOr");
    CaricaDatiDitta();
    installaAiutoDiProva();
    auto proprie = std::make_unique<DialoghiPredefiniti>();
    DialoghiPredefiniti &dialoghiRun = *proprie;
    auto precedenti = impostaDialoghi(std::move(proprie));
    ServiziEvasioneProgramma servizi;
    ImpostaServiziEvasione(&servizi);

    // The request: every order of the year into invoices at 31/12/2024.
    auto eva = std::make_unique<scEvaOrdVen>();
    eva->otDataEvasione = Date::fromYmd(2024, 12, 31);
    eva->oiAnno = 2024;
    eva->osFattDocOrd = suite::fx::kOrderTypeToInvoice;
    eva->osTipoDocEva = suite::fx::kInvoiceType;
    eva->obEvasManule = eva->obEvACorrisp = eva->obSoloASaldo = false;
    eva->ovDataConsDa = eva->ovDataConsA = eva->ovDataRifDa = eva->ovDataRifA = Variant::null();
    eva->ovDataDocDa = eva->ovDataDocA = Variant::null();
    eva->ogCambi().setValore(suite::fx::kNonEuCurrency, true, 1.085);
    QString errore;
    if (eva->LetCtrFatDocOrdErr(errore))
        throw std::runtime_error(errore.toStdString());

    std::unique_ptr<TracciaScritture> traccia;
    if (motore == Engine::SQLite)
        traccia = std::make_unique<TracciaScritture>(ggDbAzienda->connessione(gsNomeConn).db());
    if (traccia && qEnvironmentVariableIsSet("EVASORD_BENCH_ISTRUZIONI"))
        traccia->cronometraIstruzioni();
    azzeraPicco();
    tempo.restart();
    double cpu = secondiCpu();
    eva->LanciaEvasioneOrdVen(false);
    r.secondiRun = double(tempo.nsecsElapsed()) / 1e9;
    r.cpuRun = secondiCpu() - cpu;
    r.piccoKb = kbDiStato("VmHWM:");

    ProfiloScritture scritture;
    if (traccia) {
        scritture = traccia->profilo();
        if (!traccia->tempi.empty())
            traccia->stampaIstruzioni(40);
        traccia.reset();
        QFile f(profilo);
        if (!f.open(QIODevice::WriteOnly) || f.write(scritture.json().toUtf8()) < 0)
            throw std::runtime_error("profile not written");
    } else {
        QFile f(profilo);
        if (!f.open(QIODevice::ReadOnly))
            throw std::runtime_error("no write profile: run the SQLite case of the same size first");
        scritture = ProfiloScritture::daJson(QString::fromUtf8(f.readAll()));
    }
    r.transazioni = scritture.transazioni;
    r.scritture = scritture.righe();

    // What the run must have left: every order fulfilled, nothing locked or registered.
    const QStringList &testi = dialoghiRun.testi;
    if (testi.isEmpty() || testi.back() != QLatin1String("Elaborazione terminata") || testi.size() != 1)
        r.errore = testi.join(QStringLiteral(" | "));
    const int aperti = conta(dopo.db(), QStringLiteral("SELECT COUNT(*) FROM OrdVenTest WHERE Stato IS NULL OR Stato <> 'E'"));
    const int bloccati = conta(dopo.db(), QStringLiteral("SELECT COUNT(*) FROM LockGest"));
    const int registrati = conta(dopo.db(), QStringLiteral("SELECT COUNT(*) FROM DocDaElab"));
    if (aperti + bloccati + registrati > 0)
        r.errore += QStringLiteral(" ordini aperti %1, blocchi %2, DocDaElab %3").arg(aperti).arg(bloccati).arg(registrati);
    r.fatture = conta(dopo.db(), QStringLiteral("SELECT COUNT(*) FROM FatTest"));
    r.righeFattura = conta(dopo.db(), QStringLiteral("SELECT COUNT(*) FROM FatDett"));
    r.livelliFattura = conta(dopo.db(), QStringLiteral("SELECT COUNT(*) FROM FatLiv"));

    eva.reset();
    ImpostaServiziEvasione(nullptr);
    impostaDialoghi(std::move(precedenti));
    ggRecLock().ChiudiTutti();

    // The floor: the same writes on the untouched copy.
    const PianoPavimento piano = pianificaPavimento(dopo.db(), prima.db(), scritture);
    r.istruzioniPavimento = static_cast<long long>(piano.istruzioni.size());
    std::unique_ptr<TracciaScritture> tracciaPav;
    if (motore == Engine::SQLite)
        tracciaPav = std::make_unique<TracciaScritture>(prima.db());
    cpu = secondiCpu();
    r.secondiPavimento = eseguiPavimento(prima.db(), piano);
    r.cpuPavimento = secondiCpu() - cpu;
    if (nativa)
        r.secondiPavimentoNativo = eseguiPavimento(nativa->db(), piano);
    // On SQLite the floor is counted too: it must have written what the run wrote.
    if (tracciaPav && tracciaPav->profilo().json() != scritture.json())
        r.errore += QStringLiteral(" il pavimento ha scritto %1").arg(tracciaPav->profilo().json());
    return r;
}
