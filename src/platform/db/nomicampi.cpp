#include "nomicampi.h"

void IndiceNomi::aggiungi(const QString &qualificatore, const QString &nome)
{
    const int i = m_colonne++;
    if (!qualificatore.isEmpty()) {
        m_qualificatori.insert(qualificatore);
        m_qualificati.emplace(qualificatore + QLatin1Char('.') + nome, i);
    }
    if (nome.isEmpty())
        return;
    const auto [it, nuovo] = m_semplici.emplace(nome, i);
    if (!nuovo && it->second != i)
        it->second = Ambiguo;
}

int IndiceNomi::trova(QStringView nome) const
{
    const qsizetype punto = nome.indexOf(QLatin1Char('.'));
    if (punto >= 0) {
        const auto q = m_qualificati.find(nome);
        if (q != m_qualificati.end())
            return q->second;
        const QStringView tabella = nome.left(punto);
        if (m_qualificatori.find(tabella) != m_qualificatori.end() || m_qualificatori.size() > 1)
            return Mancante;
        nome = nome.mid(punto + 1);
    }
    const auto s = m_semplici.find(nome);
    return s == m_semplici.end() ? Mancante : s->second;
}
