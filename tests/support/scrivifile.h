#pragma once
// A file with the given content for a test (folders made as needed); the path comes back.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

inline QString scriviFile(const QString &percorso, const QByteArray &testo)
{
    QDir().mkpath(QFileInfo(percorso).path());
    QFile f(percorso);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << percorso.toStdString();
    f.write(testo);
    return percorso;
}
