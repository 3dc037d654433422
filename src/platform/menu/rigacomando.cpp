#include "rigacomando.h"

#include <algorithm>

namespace {
bool isSwitchWord(const QString &w)
{
    return w.size() == 2 && w[0] == u'/' && w[1].isLetter();
}
} // namespace

QString valoreSwitch(const QString &value)
{
    const bool plain = !value.isEmpty() && !value.startsWith(u'/') && !value.contains(u'"')
                       && std::none_of(value.begin(), value.end(), [](QChar c) { return c.isSpace(); });
    if (plain)
        return value;
    QString q = value;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QStringList argomentiSwitch(const Switches &switches)
{
    QStringList argv;
    for (const auto &[letter, value] : switches)
        argv << QStringLiteral("/") + letter << value;
    return argv;
}

QString testoSwitch(const Switches &switches)
{
    QStringList words;
    for (const auto &[letter, value] : switches)
        words << QStringLiteral("/") + letter << valoreSwitch(value);
    return words.join(u' ');
}

QString rigaComando(const QStringList &argv)
{
    QStringList words;
    bool valueDue = false;
    for (const QString &w : argv) {
        if (!valueDue && isSwitchWord(w)) {
            words << w;
            valueDue = true;
        } else {
            words << valoreSwitch(w);
            valueDue = false;
        }
    }
    return words.join(u' ');
}
