#pragma once
// For the second programs of the tests between processes: a line printed for the test to read,
// and the wait for the start file that lets all of them go together.
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QThread>
#include <cstdio>

inline void scrivi(const QString &riga)
{
    std::printf("%s\n", riga.toUtf8().constData());
    std::fflush(stdout);
}

// False when the file has not appeared within 30 seconds.
inline bool attendiVia(const QString &file)
{
    QElapsedTimer t;
    t.start();
    while (!QFile::exists(file)) {
        if (t.elapsed() > 30000)
            return false;
        QThread::usleep(500);
    }
    return true;
}
