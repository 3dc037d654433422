// crea_ditta_demo <file.db>: creates the demo company database (SQLite) with the suite's
// schema, its master data and open orders. An existing file is replaced only once the new
// one is complete: the build goes to a file beside it, then takes its place.
#include "apperror.h"
#include "companyfixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTextStream>

namespace {

bool build(const QString &path, QString *error)
{
    const QString conn = QStringLiteral("crea_ditta_demo");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conn);
        db.setDatabaseName(path);
        if (!db.open()) {
            *error = db.lastError().text();
        } else {
            try {
                suite::buildCompany(db);
                ok = true;
            } catch (const AppError &e) {
                *error = e.description();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(conn);
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr), out(stdout);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "Uso: crea_ditta_demo <file.db>\n";
        return 2;
    }
    const QFileInfo target(args[1]);
    if (!QDir().mkpath(target.absolutePath())) {
        err << "Impossibile creare la cartella " << target.absolutePath() << "\n";
        return 1;
    }
    const QString finalPath = target.absoluteFilePath();
    const QString work = finalPath + QStringLiteral(".nuovo");
    QFile::remove(work);
    QString error;
    if (!build(work, &error)) {
        QFile::remove(work);
        err << "Creazione della ditta dimostrativa non riuscita: " << error << "\n";
        return 1;
    }
    if (QFile::exists(finalPath) && !QFile::remove(finalPath)) {
        QFile::remove(work);
        err << "Impossibile sostituire " << finalPath << ": il file non si può cancellare\n";
        return 1;
    }
    // A journal or log left beside the old file would be read as the new one's.
    for (const char *resto : {"-journal", "-wal", "-shm"})
        QFile::remove(finalPath + QLatin1String(resto));
    if (!QFile::rename(work, finalPath)) {
        err << "Impossibile rinominare " << work << " in " << finalPath << "\n";
        return 1;
    }
    out << "Ditta dimostrativa creata: " << finalPath << "\n";
    return 0;
}
