#include "evasionereale.h"

#include "companyfixture.h"
#include "menuservercontrol.h"
#include "righediprova.h"
#include "rifiutidiprova.h"
#include "tastiscritti.h"

#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace {

// The dialog's tab order from the date field to OK (frmEvasOrd): the fields by index, the
// chosen option, the cash-sale box and OK by the numbers below. Tab passes over the option
// that is not chosen.
constexpr int kAutomatica = -1;
constexpr int kCorrispettivo = -3;
constexpr int kOk = -4;
const std::vector<int> kOrdineTab{10,  kAutomatica, 20,  30,  kCorrispettivo, 190, 40,  50,  200, 210, 220, 230,
                                  60,  70,          80,  90,  100,            110, 130, 150, 160, 170, 180, kOk};

int posizione(int campo)
{
    return static_cast<int>(std::find(kOrdineTab.begin(), kOrdineTab.end(), campo) - kOrdineTab.begin());
}

// A text as the keys that type it.
QStringList tastiTesto(const QString &testo)
{
    QStringList out;
    for (const QChar c : testo) {
        if (c.isLetter() && c.isUpper())
            out << QStringLiteral("Shift+") + c;
        else if (c == u' ')
            out << QStringLiteral("Space");
        else
            out << QString(c).toUpper();
    }
    return out;
}

} // namespace

QString art(int n)
{
    return suite::articleCode(n);
}

suite::OrderInput ordineCompleto(int cliente)
{
    suite::OrderInput o;
    o.cliente = cliente;
    o.righe = {{.articolo = art(1), .qta = 10, .prezzo = 38.25},
               {.articolo = art(5), .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}}},
               {.articolo = art(3), .qta = 4, .prezzo = 12.5, .sconto = "10"}};
    o.spese = {{.spesa = "TRA", .importo = 15}};
    return o;
}

Richiesta &Richiesta::campo(int indice, const QString &testo)
{
    m_campi.emplace_back(indice, testo);
    std::sort(m_campi.begin(), m_campi.end(),
              [](const auto &a, const auto &b) { return posizione(a.first) < posizione(b.first); });
    return *this;
}

Richiesta &Richiesta::corrispettivo()
{
    m_corrispettivo = true;
    return *this;
}

Richiesta &Richiesta::manuale(QStringList tasti, int consegne)
{
    m_manuale = true;
    m_dopoOk = std::move(tasti);
    m_runs = consegne;
    return *this;
}

QString Richiesta::tasti() const
{
    // "Manuale" is the option on the right: the arrow moves to it and chooses it
    QStringList k{QStringLiteral("Tab"), m_manuale ? QStringLiteral("Right") : QStringLiteral("Space")};
    int qui = posizione(kAutomatica);
    const auto vaiA = [&](int campo) {
        const int dove = posizione(campo);
        for (; qui < dove; ++qui)
            k << QStringLiteral("Tab");
    };
    if (m_corrispettivo) {
        vaiA(kCorrispettivo);
        k << QStringLiteral("Space");
    }
    for (const auto &[indice, testo] : m_campi) {
        vaiA(indice);
        k << tastiTesto(testo);
    }
    vaiA(kOk);
    k << QStringLiteral("Space") << m_dopoOk;
    return k.join(u',');
}

suite::FixtureOptions EvasioneReale::opzioni()
{
    suite::FixtureOptions o;
    o.orders = 0;
    o.customers = 8;
    o.articles = 10;
    return o;
}

EvasioneReale::EvasioneReale(Engine motore, suite::FixtureOptions ditta) : m_ditta(ditta)
{
    m_db = ScratchDb::create(motore);
    if (!m_db)
        return;
    QSqlDatabase d = m_db->open(QStringLiteral("evasionereale"));
    suite::buildCompany(d, ditta);
    d.close();
    d = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("evasionereale"));
}

EvasioneReale::~EvasioneReale()
{
    m_contesto.reset();
}

int32_t EvasioneReale::ordine(const suite::OrderInput &o)
{
    int32_t numRif = 0;
    {
        QSqlDatabase d = m_db->open(QStringLiteral("evasionereale"));
        numRif = suite::addOrder(d, o);
        d.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("evasionereale"));
    return numRif;
}

void EvasioneReale::esegui(const QString &sql)
{
    {
        QSqlDatabase d = m_db->open(QStringLiteral("evasionereale"));
        QSqlQuery q(d);
        if (!q.exec(sql))
            ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
        q = QSqlQuery();
        d.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("evasionereale"));
}

void EvasioneReale::rifiutaScritture(const QString &tabella, const QString &evento, const QString &condizione)
{
    {
        QSqlDatabase d = m_db->open(QStringLiteral("evasionereale"));
        rifiutaScrittura(d, m_db->engine(), QStringLiteral("rifiuto") + tabella, tabella, evento, condizione);
        d.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("evasionereale"));
}

void EvasioneReale::accettaScritture(const QString &tabella)
{
    esegui(m_db->engine() == Engine::SQLite ? QStringLiteral("DROP TRIGGER rifiuto") + tabella
                                            : QStringLiteral("DROP TRIGGER rifiuto") + tabella + QStringLiteral(" ON ") + tabella);
}

std::unique_ptr<ProgrammaDiProva> EvasioneReale::avvia(const Richiesta &r)
{
    // the test's own connection is closed while the program works on the company
    m_contesto.reset();
    auto p = std::make_unique<ProgrammaDiProva>(EVASORD_PROG, *m_db, m_ditta.year);
    for (const auto &[chiave, valore] : m_parametri)
        p->parametroMenu(chiave, Variant(valore));
    for (const auto &[sezione, nome, valore] : m_personali)
        p->parametroPersonale(sezione, nome, Variant(valore));
    p->risposteDialoghi(m_risposte);
    p->ambiente(kTastiScrittiEnv, r.tasti());
    p->avvia();
    if (!p->attendiAvvio()) {
        ADD_FAILURE() << "il programma non si avvia";
        return nullptr;
    }
    return p;
}

bool EvasioneReale::attendiConteggio(const QString &sql, int n, int ms)
{
    const bool fatto = MenuServerControl::waitFor([&] { return righe(sql) == QStringList{QString::number(n)}; }, ms);
    // the program goes on with the company
    m_contesto.reset();
    return fatto;
}

QStringList EvasioneReale::esegui(const Richiesta &r, const QString &fine)
{
    const std::unique_ptr<ProgrammaDiProva> programma = avvia(r);
    if (!programma)
        return {};
    ProgrammaDiProva &p = *programma;
    const auto finito = [&](const QString &t) {
        return t == QLatin1String("Elaborazione terminata") || t.startsWith(QStringLiteral("Errore n°")) ||
               (!fine.isEmpty() && t.contains(fine));
    };
    // with no run to await, the user's keys end the program themselves
    const bool alTermine = r.runs() > 0 ? MenuServerControl::waitFor(
                                              [&] {
                                                  const QStringList testi = p.testiDialoghi();
                                                  return std::count_if(testi.begin(), testi.end(), finito) >= r.runs();
                                              },
                                              30000)
                                        : p.attendiFine(30000).has_value();
    if (r.runs() > 0)
        p.menu().command("fine");
    const auto uscita = p.attendiFine();
    m_giornaleMenu = p.menu().journalLines();
    if (!alTermine) {
        ADD_FAILURE() << "la richiesta non termina: " << p.testiDialoghi().join(" | ").toStdString();
        return {};
    }
    EXPECT_EQ(uscita, 0);
    return p.testiDialoghi();
}

int EvasioneReale::eseguiRun(const QStringList &argomenti, QString *giornale)
{
    m_contesto.reset();
    QProcess run;
    run.start(QStringLiteral(EVASORD_RUN),
              QStringList{QStringLiteral("--db"), nomeDbAzienda(*m_db), QStringLiteral("--utente"), QStringLiteral("demo"),
                          QStringLiteral("--data-lavoro"), QStringLiteral("30/06/%1").arg(m_ditta.year)}
                  + argomenti);
    if (!run.waitForFinished(60000)) {
        run.kill();
        run.waitForFinished();
        ADD_FAILURE() << "evasord_run non termina";
        return -1;
    }
    if (giornale)
        *giornale = QString::fromUtf8(run.readAllStandardError());
    return run.exitStatus() == QProcess::NormalExit ? run.exitCode() : -1;
}

QStringList EvasioneReale::righe(const QString &sql)
{
    if (!m_contesto) {
        m_contesto = std::make_unique<ContestoDiProva>();
        m_contesto->apriDitta(*m_db);
    }
    return righeDb(sql);
}

void EvasioneReale::confrontaNota(const NotaAttesa &attesa)
{
    EXPECT_EQ(righe("SELECT Anno, NumRif, FattDocumento, PreDoc, GruppoCli, MastroCli, ContoCli, Pagamento, Moneta, "
                    "RagOrd, Provenienza, OrdAnno, OrdNumRif, NumDoc, Stato, DataRif FROM DdtTest"),
              QStringList{attesa.testata});
    EXPECT_EQ(righe("SELECT TotMerce, TotSpese, TotImpon, TotIva, TotDocum, ImponRitAcc FROM DdtTest"),
              QStringList{attesa.totali});
    EXPECT_EQ(righe("SELECT RigDet, RigLiv, TipoRiga, Articolo, Qta, ValUnitario, ValTotale, Iva, NumRifProv, RigaRifProv, "
                    "QtaProv FROM DdtDett ORDER BY RigDet"),
              attesa.righe);
    EXPECT_EQ(righe("SELECT NotaSopra FROM DdtDett WHERE RigDet = 1"), QStringList{attesa.riferimento});
    EXPECT_EQ(righe("SELECT NumRif, RigLiv, Livello1, Livello2, Qta, ValUnitario, ValTotale, QtaProv FROM DdtLiv ORDER BY Qta"),
              attesa.livelli);
    EXPECT_EQ(righe("SELECT NumRif, Riga, Spesa, Importo, Iva FROM DdtSpese"), attesa.spese);
}
