#include "parametriaiuto.h"

Variant ParametriAiuto::ovLeggiPar(const QString &nome) const
{
    const auto it = m_valori.find(nome);
    return it == m_valori.end() ? Variant() : it->second;
}

void ParametriAiuto::ovLeggiPar(const QString &nome, const Variant &valore)
{
    m_valori[nome] = valore;
}
