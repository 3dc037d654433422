#include "dividiconto.h"

void DividiConto(const QString &conto, QString &gruppo, QString &mastro, QString &sottoconto)
{
    gruppo = conto.left(2);
    if (conto.contains(QLatin1Char('-'))) {
        mastro = conto.mid(3, 2);
        sottoconto = conto.mid(6);
    } else {
        mastro = conto.mid(2, 2);
        sottoconto = conto.mid(4);
    }
}
