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
#include "pavimentopipeline.h"
#include "scevaordven.h"
#include "servermenuesterno.h"
#include "servizievasioneprogramma.h"
#include "socketmenuclient.h"
#include "tracciascritture.h"
#include "viaggi.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <malloc.h>
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

// The fields of a result by their names in its JSON text.
template <typename R, typename F>
void perOgniCampo(R &r, F &&f)
{
    f("ordini", r.ordini);
    f("nativo", r.nativo);
    f("fixture", r.secondiFixture);
    f("run", r.secondiRun);
    f("pavimento", r.secondiPavimento);
    f("pavimentoAltro", r.secondiPavimentoAltro);
    f("pipeline", r.secondiPipeline);
    f("cpuRun", r.cpuRun);
    f("cpuPavimento", r.cpuPavimento);
    f("piccoKb", r.piccoKb);
    f("partenzaKb", r.partenzaKb);
    f("chiamateMenu", r.chiamateMenu);
    f("viaggiRun", r.viaggiRun);
    f("viaggiPavimento", r.viaggiPavimento);
    f("viaggiPavimentoAltro", r.viaggiPavimentoAltro);
    f("viaggiPipeline", r.viaggiPipeline);
    f("commit", r.commit);
    f("commitConRighe", r.commitConRighe);
    f("flush", r.flush);
    f("transazioniPavimento", r.transazioniPavimento);
    f("flushPavimento", r.flushPavimento);
    f("checkpoint", r.checkpoint);
    f("checkpointPavimento", r.checkpointPavimento);
    f("scritture", r.scritture);
    f("istruzioniPavimento", r.istruzioniPavimento);
    f("fatture", r.fatture);
    f("righeFattura", r.righeFattura);
    f("livelliFattura", r.livelliFattura);
    f("righeOrdine", r.righeOrdine);
    f("righeOrdineConLivelli", r.righeOrdineConLivelli);
    f("errore", r.errore);
}

QString RisultatoCaso::json() const
{
    QJsonObject o{{QStringLiteral("motore"), engineName(motore)}};
    perOgniCampo(*this, [&](const char *nome, const auto &v) { o.insert(QLatin1String(nome), QJsonValue::fromVariant(QVariant::fromValue(v))); });
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

RisultatoCaso RisultatoCaso::daJson(const QString &testo)
{
    const QJsonObject o = QJsonDocument::fromJson(testo.toUtf8()).object();
    RisultatoCaso r;
    r.motore = o.value(QStringLiteral("motore")).toString() == engineName(Engine::SQLite) ? Engine::SQLite
                                                                                          : Engine::PostgreSQL;
    perOgniCampo(r, [&](const char *nome, auto &v) {
        v = o.value(QLatin1String(nome)).toVariant().value<std::remove_reference_t<decltype(v)>>();
    });
    return r;
}

RisultatoCaso eseguiCaso(Engine motore, int ordini, const QString &profilo)
{
    RisultatoCaso r;
    r.motore = motore;
    r.ordini = ordini;
    r.nativo = motore == Engine::PostgreSQL && qEnvironmentVariableIntValue("EVASORD_PG_NATIVO") == 1;
    ensureCoreApp();
    ContestoDiProva contesto;
    contesto.menu().responder().setUtente(kUtente);
    const auto server = pgServer();
    auto ditta = ScratchDb::create(motore);
    auto copia = ScratchDb::create(motore);
    // On PostgreSQL two more copies: the floor through the other driver and through libpq.
    auto copiaAltra = motore == Engine::PostgreSQL ? ScratchDb::create(motore) : nullptr;
    auto copiaPipeline = motore == Engine::PostgreSQL ? ScratchDb::create(motore) : nullptr;
    if (!ditta || !copia || (motore == Engine::PostgreSQL && (!copiaAltra || !copiaPipeline || !server)))
        throw std::runtime_error("database not available");
    const suite::FixtureOptions opt{.orders = ordini, .linesPerOrder = 5};

    // The company and its untouched copies for the floors, the same rows in each.
    QElapsedTimer tempo;
    tempo.start();
    const auto creaCopia = [&](const ScratchDb &db, const QString &nome) {
        Collegamento c(db, nome);
        suite::buildCompany(c.db(), opt);
        soloFatture(c.db());
    };
    creaCopia(*copia, QStringLiteral("pavimento_crea"));
    std::unique_ptr<Collegamento> altra;
    if (motore == Engine::PostgreSQL) {
        creaCopia(*copiaAltra, QStringLiteral("pavimento_altro_crea"));
        creaCopia(*copiaPipeline, QStringLiteral("pavimento_pipeline_crea"));
    }
    // The floor through the run's own driver, and on PostgreSQL through the other one.
    const auto collegamento = [&](const ScratchDb &db, const QString &nome, bool qpsql) {
        return qpsql ? std::make_unique<Collegamento>(db, nome, *server) : std::make_unique<Collegamento>(db, nome);
    };
    auto prima = collegamento(*copia, QStringLiteral("pavimento"), r.nativo);
    if (motore == Engine::PostgreSQL)
        altra = collegamento(*copiaAltra, QStringLiteral("pavimento_altro"), !r.nativo);
    contesto.creaDitta(*ditta, opt);
    Collegamento dopo(*ditta, QStringLiteral("risultato"));
    soloFatture(dopo.db());
    r.secondiFixture = double(tempo.nsecsElapsed()) / 1e9;
    r.righeOrdine = conta(dopo.db(), QStringLiteral("SELECT COUNT(*) FROM OrdVenDett WHERE TipoRiga = 'A'"));
    r.righeOrdineConLivelli = conta(
        dopo.db(), QStringLiteral("SELECT COUNT(*) FROM OrdVenDett d WHERE EXISTS (SELECT 1 FROM OrdVenLiv l WHERE "
                                  "l.Anno = d.Anno AND l.NumRif = d.NumRif AND l.RigLiv = d.RigLiv)"));

    // The menu server in a process of its own, linked as the program links to it.
    QTemporaryDir cartellaMenu;
    ServerMenuEsterno menu(contesto.menu().responder().config(), cartellaMenu.path());
    gsProgramma = QStringLiteral("EvaOrd");
    gsProgrammaPar = QStringLiteral("EvOr");
    auto link = std::make_shared<SocketMenuClient>(menu.socket());
    link->Collega(QStringLiteral("MENU"), gsProgramma, gsProgrammaPar);
    link->TieniNomeUtente(true);
    ggMenuClient = link;

    // The program as start-up leaves it, its services the real ones.
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
    if (server)
        viaggi::contaPorta(server->port);
    const long long chiamatePrima = menu.chiamate();
    long long contati = viaggi::conteggio();
    // What building the company freed goes back to the system: the peak is the run's own.
    malloc_trim(0);
    r.partenzaKb = kbDiStato("VmRSS:");
    azzeraPicco();
    tempo.restart();
    double cpu = secondiCpu();
    eva->LanciaEvasioneOrdVen(false);
    r.secondiRun = double(tempo.nsecsElapsed()) / 1e9;
    r.cpuRun = secondiCpu() - cpu;
    r.piccoKb = kbDiStato("VmHWM:");
    r.viaggiRun = viaggi::conteggio() - contati;
    r.chiamateMenu = menu.chiamate() - chiamatePrima;

    ProfiloScritture scritture;
    if (traccia) {
        scritture = traccia->profilo();
        if (!traccia->tempi.empty()) {
            const int quante = qEnvironmentVariableIntValue("EVASORD_BENCH_ISTRUZIONI");
            traccia->stampaIstruzioni(quante > 1 ? quante : 40);
        }
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
    r.commit = scritture.commit;
    r.commitConRighe = scritture.conRighe;
    r.flush = scritture.flush;
    r.checkpoint = scritture.checkpoint;
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
    link->Scollega();
    // The run alone (a large case, for its time and memory): no floor.
    if (qEnvironmentVariableIsSet("EVASORD_BENCH_SOLO_RUN"))
        return r;

    // The floors: the same writes on the untouched copies. SQLite flushes only the transactions
    // that wrote pages; PostgreSQL writes a row even when it rewrites the same values.
    const PianoPavimento piano = pianificaPavimento(dopo.db(), prima->db(), scritture);
    r.istruzioniPavimento = static_cast<long long>(piano.istruzioni.size());
    r.transazioniPavimento = motore == Engine::SQLite ? scritture.flush : scritture.conRighe;
    std::unique_ptr<TracciaScritture> tracciaPav;
    if (motore == Engine::SQLite)
        tracciaPav = std::make_unique<TracciaScritture>(prima->db());
    contati = viaggi::conteggio();
    cpu = secondiCpu();
    r.secondiPavimento = eseguiPavimento(prima->db(), piano, r.transazioniPavimento);
    r.cpuPavimento = secondiCpu() - cpu;
    r.viaggiPavimento = viaggi::conteggio() - contati;
    if (altra) {
        contati = viaggi::conteggio();
        r.secondiPavimentoAltro = eseguiPavimento(altra->db(), piano, r.transazioniPavimento);
        r.viaggiPavimentoAltro = viaggi::conteggio() - contati;
        contati = viaggi::conteggio();
        r.secondiPipeline = eseguiPavimentoInPipeline(*server, copiaPipeline->databaseName(), piano, r.transazioniPavimento);
        r.viaggiPipeline = viaggi::conteggio() - contati;
    }
    // On SQLite the floor is counted too: the same rows as the run with as many flushes.
    if (tracciaPav) {
        r.flushPavimento = tracciaPav->profilo().flush;
        r.checkpointPavimento = tracciaPav->profilo().checkpoint;
        if (!tracciaPav->profilo().stesseScritture(scritture))
            r.errore += QStringLiteral(" il pavimento ha scritto %1").arg(tracciaPav->profilo().json());
    }
    return r;
}
