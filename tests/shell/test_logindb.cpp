#include "apridbdao.h"
#include "connessionedb.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "dialoghidiprova.h"
#include "logindb.h"
#include "scratchdb.h"
#include "scrivifile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The ODBC data source of the test server (scripts/test.sh defines it).
QString nomeDsn()
{
    return qEnvironmentVariable("EVASORD_PG_DSN");
}

#define DSN_OR_SKIP()                                                                              \
    if (!pgServer() || nomeDsn().isEmpty()) {                                                      \
        if (pgRequired())                                                                          \
            FAIL() << "PostgreSQL is required but no ODBC data source is defined";                 \
        GTEST_SKIP() << "no PostgreSQL data source";                                               \
    }

class LoginDb : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (auto s = pgServer()) {
            c.parametro("SqlLogin", s->user);
            c.parametro("SqlPwd", s->password);
        }
    }
    ContestoDiProva c;
    DialoghiInstallati d;
    RifOggetto<ConnessioneDb> conn;
};

TEST_F(LoginDb, DataSourceLogsInWithTheMenuLogin)
{
    DSN_OR_SKIP();
    const QString nome = LoginDbSql(conn, nomeDsn(), "ignorata", "");
    EXPECT_FALSE(nome.isEmpty());
    EXPECT_TRUE(conn->Connesso(nome));
    EXPECT_EQ(conn->Impostazione("DbSqlPubUID", 12).text(), pgServer()->user);
    EXPECT_TRUE(conn->Impostazione("DbAccPWD", 12).isEmpty());
    EXPECT_TRUE(d->mostrati().empty());
}

TEST_F(LoginDb, ALoginAlreadySetIsKept)
{
    DSN_OR_SKIP();
    conn = std::make_shared<ConnessioneDb>();
    conn->Impostazione("DbSqlPubUID", 12, Variant(pgServer()->user));
    conn->Impostazione("DbSqlPubPWD", 12, Variant(pgServer()->password));
    c.parametro("SqlPwd", "sbagliata");
    EXPECT_FALSE(LoginDbSql(conn, nomeDsn(), {}, {}).isEmpty());
    EXPECT_FALSE(c.chiaviLette().contains("SqlPwd"));
}

// Answers "&Riprovare" once after putting the right password into the connection.
class RiprovaConPasswordGiusta : public DialoghiDiProva {
public:
    explicit RiprovaConPasswordGiusta(RifOggetto<ConnessioneDb> &conn) : m_conn(conn) {}
    int msgCom(const RichiestaMsgCom &r) override
    {
        const int risposta = DialoghiDiProva::msgCom(r);
        if (risposta == 1)
            m_conn->Impostazione("DbSqlPubPWD", 12, Variant(pgServer()->password));
        return risposta;
    }

private:
    RifOggetto<ConnessioneDb> &m_conn;
};

TEST_F(LoginDb, RefusedLoginRetriesOrGivesUp)
{
    DSN_OR_SKIP();
    c.parametro("SqlPwd", "sbagliata");
    {
        auto retry = std::make_unique<RiprovaConPasswordGiusta>(conn);
        auto *r = retry.get();
        auto prima = impostaDialoghi(std::move(retry));
        r->rispondi(1);
        const QString nome = LoginDbSql(conn, nomeDsn(), {}, {});
        EXPECT_TRUE(conn->Connesso(nome));
        ASSERT_EQ(r->mostrati().size(), 1u);
        EXPECT_EQ(r->mostrati()[0].testo, "Utente o password non validi per SQL");
        EXPECT_EQ(r->mostrati()[0].pulsanti, (QStringList{"&Riprovare", "&Annulla"}));
        EXPECT_EQ(r->mostrati()[0].richiesta.piLargForm, 80);
        EXPECT_EQ(r->mostrati()[0].richiesta.piLatiForm, 600);
        EXPECT_TRUE(r->mostrati()[0].titolo.isEmpty());
        impostaDialoghi(std::move(prima));
    }
    conn.reset();
    d->rispondi(1); // "&Riprovare": the same settings fail again
    d->rispondi(2); // "&Annulla"
    EXPECT_EQ(LoginDbSql(conn, nomeDsn(), {}, {}), "");
    EXPECT_EQ(d->mostrati().size(), 2u);
    EXPECT_FALSE(conn->Connesso());
}

TEST_F(LoginDb, CompleteOdbcTextTakesTheDatabasePassword)
{
    DSN_OR_SKIP();
    const auto s = *pgServer();
    // A complete text, even one naming a data source, leaves the SQL login alone.
    const QString testo = "ODBC;DSN=" + nomeDsn() + ";UID=" + s.user;
    const QString nome = LoginDbSql(conn, testo, s.password, "");
    EXPECT_TRUE(conn->Connesso(nome));
    EXPECT_EQ(conn->Impostazione("DbAccPWD", 12).text(), s.password);
    EXPECT_TRUE(conn->Impostazione("DbSqlPubUID", 12).isEmpty());
    EXPECT_TRUE(d->mostrati().empty());

    // A refused login there is an ordinary failure: "Err:" and the error dialog.
    RifOggetto<ConnessioneDb> altra;
    d->rispondi(1);
    EXPECT_EQ(LoginDbSql(altra, testo, "sbagliata", ""), "Err: 3059");
    ASSERT_EQ(d->mostrati().size(), 1u);
    EXPECT_TRUE(d->mostrati()[0].testo.startsWith("Errore(3059): ")) << d->mostrati()[0].testo.toStdString();
    EXPECT_EQ(d->mostrati()[0].pulsanti, QStringList{"&Ok"});
}

// The driver manager here does not read file data sources: both openings read the file itself.
TEST_F(LoginDb, FileDataSourceOpensTheCompanyAndTheSecondConnection)
{
    DSN_OR_SKIP();
    const auto s = *pgServer();
    QTemporaryDir dir;
    const QString dsn = scriviFile(dir.filePath("ditta.dsn"),
                                   QStringLiteral("[ODBC]\nDRIVER=%1\nSERVERNAME=%2\nPORT=%3\nDATABASE=postgres\n")
                                       .arg(s.driver, s.host)
                                       .arg(s.port)
                                       .toUtf8());
    auto dao = ApriDbDao(dsn, s.user, s.password);
    EXPECT_TRUE(dao->Connesso());
    conn = std::make_shared<ConnessioneDb>();
    conn->Impostazione("DbSqlPubUID", 12, Variant(s.user));
    conn->Impostazione("DbSqlPubPWD", 12, Variant(s.password));
    const QString nome = LoginDbSql(conn, dsn, {}, {});
    EXPECT_FALSE(nome.isEmpty());
    EXPECT_FALSE(nome.startsWith("Err"));
}

TEST_F(LoginDb, ApriDbDaoOpensEveryForm)
{
    auto sqlite = ScratchDb::create(Engine::SQLite);
    {
        QSqlDatabase q = sqlite->open("crea");
        q.close();
    }
    QSqlDatabase::removeDatabase("crea");
    EXPECT_EQ(ApriDbDao(sqlite->location(), "mario", "x")->Motore(), MotoreDb::SQLite);

    DSN_OR_SKIP();
    const auto s = *pgServer();
    EXPECT_EQ(ApriDbDao(nomeDsn(), s.user, s.password)->Motore(), MotoreDb::PostgreSQL);
    EXPECT_EQ(ApriDbDao("ODBC;DSN=" + nomeDsn() + ";UID=" + s.user + ";PWD=" + s.password, "altro", "x")->Motore(),
              MotoreDb::PostgreSQL);
    try {
        ApriDbDao(nomeDsn(), s.user, "sbagliata");
        ADD_FAILURE() << "opened with a wrong password";
    } catch (const AppError &e) {
        EXPECT_EQ(e.number(), 3059);
    }
}

} // namespace
