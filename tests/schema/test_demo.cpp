// crea_ditta_demo: the demo company file, and an existing file replaced cleanly.
#include "readback.h"
#include "suiteschema.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

int runTool(const QStringList &args, QString *output)
{
    QProcess p;
    p.start(QStringLiteral(CREA_DITTA_DEMO), args);
    if (!p.waitForFinished(120000))
        return -1;
    *output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

TEST(CreaDittaDemo, ReplacesAnExistingFileWithTheDemoCompany)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/ditta.db"));
    QString out;
    ASSERT_EQ(runTool({path}, &out), 0) << out.toStdString();
    ASSERT_EQ(runTool({path}, &out), 0) << out.toStdString(); // over the previous one
    EXPECT_TRUE(out.contains(QStringLiteral("Ditta dimostrativa creata")));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".nuovo")));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("demo_check"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        EXPECT_EQ(scalar(db, QStringLiteral("SELECT COUNT(*) FROM OrdVenTest")).toInt(), 100);
        EXPECT_EQ(scalar(db, QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
        EXPECT_EQ(scalar(db, QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("demo_check"));

    EXPECT_NE(runTool({}, &out), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("Uso: crea_ditta_demo")));
}

TEST(CreaDittaDemo, KeepsTheOldFileWhenTheNewOneCannotBeMade)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ditta.db"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("vecchio");
    }
    // The work file's place is taken by a folder: the build cannot start.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ditta.db.nuovo")));
    QString out;
    EXPECT_EQ(runTool({path}, &out), 1);
    EXPECT_TRUE(out.contains(QStringLiteral("non riuscita"))) << out.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("vecchio"));
}
