#pragma once
// Text comparison as the system does it: keys, markers, switches, form names and settings
// compare ignoring letter case.
#include <QString>
#include <QStringView>

inline int textCompare(QStringView a, QStringView b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return (c > 0) - (c < 0);
}

inline bool textEquals(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
