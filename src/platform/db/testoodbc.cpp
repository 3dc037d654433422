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

QString valoreTestoOdbc(const QString &testo, const QString &chiave)
{
    qsizetype i = 0;
    while (i < testo.size()) {
        const qsizetype uguale = testo.indexOf(QLatin1Char('='), i);
        if (uguale < 0)
            break;
        const QString k = testo.mid(i, uguale - i).trimmed();
        QString valore;
        qsizetype j = uguale + 1;
        while (j < testo.size() && testo[j] == QLatin1Char(' ')) ++j;
        if (j < testo.size() && testo[j] == QLatin1Char('{')) {
            // A braced value ends at the first "}" that is not doubled.
            for (++j; j < testo.size(); ++j) {
                if (testo[j] == QLatin1Char('}')) {
                    if (j + 1 < testo.size() && testo[j + 1] == QLatin1Char('}')) {
                        valore += QLatin1Char('}');
                        ++j;
                        continue;
                    }
                    ++j;
                    break;
                }
                valore += testo[j];
            }
            const qsizetype fine = testo.indexOf(QLatin1Char(';'), j);
            j = fine < 0 ? testo.size() : fine;
        } else {
            const qsizetype fine = testo.indexOf(QLatin1Char(';'), j);
            valore = testo.mid(j, (fine < 0 ? testo.size() : fine) - j).trimmed();
            j = fine < 0 ? testo.size() : fine;
        }
        if (textEquals(k, chiave))
            return valore;
        i = j + 1;
    }
    return {};
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
