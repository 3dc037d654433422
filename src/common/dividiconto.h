#pragma once
// An account code's three parts. With separators ("14-01-0001") the group is characters 1-2,
// the mastro 4-5 and the conto from 7; without them ("14010001") 1-2, 3-4 and from 5. The code
// is not validated: a short one gives short or empty parts.
#include <QString>

void DividiConto(const QString &conto, QString &gruppo, QString &mastro, QString &sottoconto);
