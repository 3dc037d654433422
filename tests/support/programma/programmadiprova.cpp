#include "programmadiprova.h"

#include "apperror.h"
#include "contestodiprova.h"
#include "democonfig.h"
#include "scratchdb.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QUuid>

namespace {

void creaDitta(const QString &percorso, const suite::FixtureOptions &opzioni)
{
    const QString nome = QStringLiteral("programmadiprova_") + QUuid::createUuid().toString(QUuid::Id128);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        db.setDatabaseName(percorso);
        if (!db.open())
            throw AppError(ErrNum::InvalidCall, QStringLiteral("Ditta di prova non creata: ") + percorso);
        suite::buildCompany(db, opzioni);
        db.close();
    }
    QSqlDatabase::removeDatabase(nome);
}

} // namespace

suite::FixtureOptions ProgrammaDiProva::opzioniPiccole()
{
    suite::FixtureOptions o;
    o.orders = 3;
    return o;
}

ProgrammaDiProva::ProgrammaDiProva(const QString &programma, suite::FixtureOptions ditta)
    : m_dir(std::make_unique<QTemporaryDir>())
{
    creaDitta(database(), ditta);
    m_programma = programma;
    scriviConfigurazione(ditta.year);
}

ProgrammaDiProva::ProgrammaDiProva(const QString &programma, const ScratchDb &db, int16_t anno)
    : m_dir(std::make_unique<QTemporaryDir>()), m_programma(programma), m_db(&db)
{
    scriviConfigurazione(anno);
}

void ProgrammaDiProva::scriviConfigurazione(int16_t anno)
{
    ConfigurazioneDemo c;
    c.cartella = m_dir->path();
    c.programma = m_programma;
    c.database = m_db ? m_dir->filePath(QStringLiteral("ditta.db")) : database();
    c.anno = anno;
    const FileDemo f = scriviConfigurazioneDemo(c);
    m_config = MenuServerControl::loadConfig(f.serverMenu);
    if (m_db)
        m_config.parametri[QStringLiteral("NomeDBAzie")] = Variant(database());
}

void ProgrammaDiProva::scriviDitta(const std::function<void(QSqlDatabase &)> &scrivi)
{
    const QString nome = QStringLiteral("programmadiprova_") + QUuid::createUuid().toString(QUuid::Id128);
    {
        QSqlDatabase d;
        if (m_db) {
            d = m_db->open(nome);
        } else {
            d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
            d.setDatabaseName(database());
            if (!d.open())
                throw AppError(ErrNum::InvalidCall, QStringLiteral("Ditta di prova non aperta: ") + database());
        }
        scrivi(d);
        d.close();
    }
    QSqlDatabase::removeDatabase(nome);
}

ProgrammaDiProva::~ProgrammaDiProva() = default;

QString ProgrammaDiProva::cartella() const
{
    return m_dir->path();
}

QString ProgrammaDiProva::database() const
{
    if (m_db)
        return nomeDbAzienda(*m_db);
    return m_dir->filePath(QStringLiteral("ditta.db"));
}

QString ProgrammaDiProva::suiteIni() const
{
    return m_dir->filePath(QStringLiteral("suite.ini"));
}

void ProgrammaDiProva::parametroMenu(const QString &chiave, const Variant &valore)
{
    m_config.parametri[chiave] = valore;
}

void ProgrammaDiProva::parametroPersonale(const QString &sezione, const QString &nome, const Variant &valore)
{
    m_config.impostaPersonale(sezione, nome, valore);
}

void ProgrammaDiProva::ambiente(const QString &nome, const QString &valore)
{
    m_ambiente.emplace_back(nome, valore);
}

void ProgrammaDiProva::avvia(bool rifiutaConnessioni)
{
    m_menu = std::make_unique<MenuServerControl>(m_config);
    if (rifiutaConnessioni)
        m_menu->refuseConnections(true);
    if (m_prepara)
        m_prepara(*m_menu);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // headless, unless the one running the tests wants to look at the windows (a screen shot)
    const QString schermo = qEnvironmentVariable("EVASORD_PROVA_QPA");
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), schermo.isEmpty() ? QStringLiteral("offscreen") : schermo);
    env.insert(QStringLiteral("EVASORD_GIORNALE_DIALOGHI"), m_dir->filePath(QStringLiteral("dialoghi.jsonl")));
    env.insert(QStringLiteral("EVASORD_RISPOSTE_DIALOGHI"), m_risposte.join(u','));
    // no install ini of the machine running the tests
    env.insert(QStringLiteral("SUITE_INST_INI"), m_dir->filePath(QStringLiteral("SuiteInst.ini")));
    for (const auto &[nome, valore] : m_ambiente)
        env.insert(nome, valore);
    m_menu->startProgram(env);
}

bool ProgrammaDiProva::attendiAvvio(int ms)
{
    return MenuServerControl::waitFor(
        [this] {
            for (const QString &riga : m_menu->journalLines())
                if (riga.contains(QStringLiteral("DisabTermVisPrz")))
                    return true;
            return false;
        },
        ms);
}

std::optional<int> ProgrammaDiProva::attendiFine(int ms)
{
    return m_menu->waitForProgramExit(ms);
}

QList<DialogoMostrato> ProgrammaDiProva::dialoghi() const
{
    QList<DialogoMostrato> out;
    QFile f(m_dir->filePath(QStringLiteral("dialoghi.jsonl")));
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray &riga : f.readAll().split('\n')) {
        if (riga.trimmed().isEmpty())
            continue;
        const QJsonObject o = QJsonDocument::fromJson(riga).object();
        DialogoMostrato d;
        d.tipo = o.value("tipo").toString();
        d.titolo = o.value("titolo").toString();
        d.testo = o.value("testo").toString();
        for (const QJsonValue &p : o.value("pulsanti").toArray())
            d.pulsanti << p.toString();
        d.risposta = o.value("risposta").toString();
        out << d;
    }
    return out;
}

QStringList ProgrammaDiProva::testiDialoghi() const
{
    QStringList out;
    for (const DialogoMostrato &d : dialoghi())
        out << d.testo;
    return out;
}

QStringList ProgrammaDiProva::chiamate() const
{
    return m_menu->calls();
}
