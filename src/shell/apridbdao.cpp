#include "apridbdao.h"

#include "connessionedb.h"
#include "formeconnessione.h"

QString testoLoginOdbc(const QString &utente, const QString &password)
{
    if (utente.isEmpty())
        return {};
    QString login = QStringLiteral("UID=") + valoreOdbcSemplice(utente, QStringLiteral("UID"));
    if (!password.isEmpty())
        login += QStringLiteral(";PWD=") + valoreOdbcTraGraffe(password);
    return login;
}

std::shared_ptr<ConnessioneDb> ApriDbDao(const QString &nome, const QString &utente, const QString &password)
{
    auto db = std::make_shared<ConnessioneDb>();
    switch (formaConnessione(nome)) {
    case FormaConnessione::TestoOdbc:
        db->Connetti(nome);
        break;
    case FormaConnessione::FileDsn:
        db->Connetti(QStringLiteral("ODBC;") + testoFileDsn(nome) + QStringLiteral(";") +
                     testoLoginOdbc(utente, password));
        break;
    case FormaConnessione::NomeDsn:
        db->Connetti(QStringLiteral("ODBC;DSN=") + valoreOdbcSemplice(nome, QStringLiteral("DSN")) +
                     QStringLiteral(";") + testoLoginOdbc(utente, password));
        break;
    case FormaConnessione::FileDb:
        db->Connetti(nome);
        break;
    }
    return db;
}
