#include "testoodbc.h"

#include "apperror.h"
#include "inifile.h"
#include "textcompare.h"
#include "winpaths.h"

#include <QFileInfo>
#include <QStringList>

namespace {

bool haCaratteriSpeciali(const QString &v)
{
    for (const QChar c : v)
        if (c == QLatin1Char(';') || c == QLatin1Char('{') || c == QLatin1Char('}') || c == QLatin1Char('=') ||
            c.unicode() == 0)
            return true;
    return v != v.trimmed();
}

} // namespace

QString valoreOdbcTraGraffe(const QString &valore)
{
    if (valore.contains(QChar(0)))
        throw AppError(ErrNum::InvalidCall, QStringLiteral("Valore non ammesso nella connessione ODBC"));
    if (!haCaratteriSpeciali(valore))
        return valore;
    QString s = valore;
    s.replace(QLatin1Char('}'), QStringLiteral("}}"));
    return QLatin1Char('{') + s + QLatin1Char('}');
}

QString valoreOdbcSemplice(const QString &valore, const QString &chiave)
{
    if (haCaratteriSpeciali(valore))
        throw AppError(ErrNum::InvalidCall,
                       QStringLiteral("Valore non ammesso per %1 nella connessione ODBC").arg(chiave));
    return valore;
}

bool testoOdbcHaChiave(const QString &testo, const QString &chiave)
{
    for (const QString &parte : testo.split(QLatin1Char(';'))) {
        const qsizetype uguale = parte.indexOf(QLatin1Char('='));
        if (uguale > 0 && textEquals(QStringView(parte).left(uguale).trimmed(), chiave))
            return true;
    }
    return false;
}

QString testoFileDsn(const QString &percorso)
{
    const QString file = mapWindowsPath(percorso);
    if (!QFileInfo(file).isFile())
        throw AppError(ErrNum::FileNotFound, standardErrorText(ErrNum::FileNotFound) + QStringLiteral(": ") + percorso);
    const IniFile ini = IniFile::load(file);
    QStringList parti;
    for (const QString &chiave : ini.keys(QStringLiteral("ODBC"))) {
        const QString valore = ini.value(QStringLiteral("ODBC"), chiave, QString());
        const bool traGraffe = textEquals(chiave, u"DRIVER") || textEquals(chiave, u"PWD");
        parti << chiave + QLatin1Char('=') +
                     (traGraffe ? valoreOdbcTraGraffe(valore) : valoreOdbcSemplice(valore, chiave));
    }
    return parti.join(QLatin1Char(';'));
}
