#include "apperror.h"
#include "apridbdao.h"
#include "formeconnessione.h"
#include "scrivifile.h"
#include "stampaqt.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(FormeConnessione, FourFormsInTheirOrder)
{
    struct Caso {
        const char *testo;
        FormaConnessione forma;
    };
    const Caso casi[] = {
        {"ODBC;DSN=ditta;UID=x", FormaConnessione::TestoOdbc},
        {"odbc;DSN=ditta.dsn", FormaConnessione::TestoOdbc}, // the prefix wins over the ending
        {"ODBC;ditta", FormaConnessione::TestoOdbc},
        {"/srv/dati/ditta.DSN", FormaConnessione::FileDsn},
        {"DITTA1", FormaConnessione::NomeDsn},
        {"", FormaConnessione::NomeDsn},
        {"/srv/dati/ditta.db", FormaConnessione::FileDb},
        {"D:\\Dati\\ditta.mdb", FormaConnessione::FileDb},
        {"ODBC ditta.db", FormaConnessione::FileDb},
    };
    for (const auto &k : casi) {
        SCOPED_TRACE(k.testo);
        EXPECT_EQ(formaConnessione(k.testo), k.forma);
        EXPECT_EQ(EConnOdbc(k.testo), k.forma != FormaConnessione::FileDb);
        EXPECT_EQ(EDbOdbc(k.testo), k.forma == FormaConnessione::FileDb);
    }
}

TEST(FormeConnessione, LoginValuesAreQuotedNeverSpliced)
{
    EXPECT_EQ(testoLoginOdbc("", "segreta"), "");
    EXPECT_EQ(testoLoginOdbc("mario", ""), "UID=mario");
    EXPECT_EQ(testoLoginOdbc("mario", "segreta"), "UID=mario;PWD=segreta");
    EXPECT_EQ(testoLoginOdbc("mario", "a;b=c"), "UID=mario;PWD={a;b=c}");
    EXPECT_EQ(testoLoginOdbc("mario", "x};DRIVER={y"), "UID=mario;PWD={x}};DRIVER={y}");
    // The driver takes no braces around the user: a user that would end the key is refused.
    for (const char *utente : {"ma;rio", "a=b", "{x}"}) {
        SCOPED_TRACE(utente);
        EXPECT_THROW(testoLoginOdbc(utente, "p"), AppError);
    }
}

TEST(FormeConnessione, FileDataSourceBecomesItsKeys)
{
    QTemporaryDir dir;
    const QString dsn =
        scriviFile(dir.filePath("ditta.dsn"), "[ODBC]\nDRIVER=PostgreSQL Unicode\nSERVERNAME=db1\nDATABASE=ditta\n");
    EXPECT_EQ(testoFileDsn(dsn), "DRIVER=PostgreSQL Unicode;SERVERNAME=db1;DATABASE=ditta");
    EXPECT_THROW(testoFileDsn(dir.filePath("manca.dsn")), AppError);
}

} // namespace
