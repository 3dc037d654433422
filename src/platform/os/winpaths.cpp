#include "winpaths.h"

#include "textcompare.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString installIniPath()
{
    const QString env = qEnvironmentVariable("SUITE_INST_INI");
    if (!env.isEmpty())
        return env;
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty())
        configHome = QDir::homePath() + QStringLiteral("/.config");
    const QString user = configHome + QStringLiteral("/suite/SuiteInst.ini");
    if (QFileInfo::exists(user))
        return user;
    return QStringLiteral("/etc/suite/SuiteInst.ini");
}

QString mapWindowsPath(const QString &path)
{
    if (textEquals(path, QString::fromLatin1(kInstallIniWindowsPath)))
        return installIniPath();
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (p.size() >= 2 && p[1] == QLatin1Char(':') && p[0].isLetter()) {
        const QString letter = p.left(1).toUpper();
        QString root = qEnvironmentVariable(qPrintable(QStringLiteral("SUITE_DRIVE_") + letter));
        if (root.isEmpty())
            root = QStringLiteral("/");
        QString rest = p.mid(2);
        while (rest.startsWith(QLatin1Char('/')))
            rest.remove(0, 1);
        if (!root.endsWith(QLatin1Char('/')))
            root += QLatin1Char('/');
        return root + rest;
    }
    return p;
}
