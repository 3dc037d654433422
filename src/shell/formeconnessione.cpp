#include "formeconnessione.h"

FormaConnessione formaConnessione(const QString &testo)
{
    if (testo.startsWith(QLatin1String("ODBC;"), Qt::CaseInsensitive))
        return FormaConnessione::TestoOdbc;
    if (testo.endsWith(QLatin1String(".dsn"), Qt::CaseInsensitive))
        return FormaConnessione::FileDsn;
    if (!testo.contains(QLatin1Char('.')))
        return FormaConnessione::NomeDsn;
    return FormaConnessione::FileDb;
}

bool EConnOdbc(const QString &testo)
{
    return formaConnessione(testo) != FormaConnessione::FileDb;
}

bool EDbOdbc(const QString &testo)
{
    return formaConnessione(testo) == FormaConnessione::FileDb;
}
