#include "databasedao.h"

#include "errori.h"

CampoDao TabellaDao::Fields(const QString &nome) const
{
    const int i = m_tabella->indice(nome);
    if (i < 0)
        throw erroreDb(ErrDb::ElementoNonTrovato, nome);
    const ColonnaCatalogo &c = m_tabella->colonne()[static_cast<size_t>(i)];
    return CampoDao(c.nome, c.tipo);
}

TabellaDao DatabaseDao::TableDefs(const QString &tabella) const
{
    auto t = m_catalogo ? m_catalogo->tabella(tabella.trimmed()) : nullptr;
    if (!t)
        throw erroreDb(ErrDb::ElementoNonTrovato, tabella);
    return TabellaDao(std::move(t));
}

bool DatabaseDao::EsisteTabella(const QString &tabella) const noexcept
{
    try {
        return !tabella.trimmed().isEmpty() && m_catalogo && m_catalogo->tabella(tabella.trimmed()) != nullptr;
    } catch (...) {
        return false;
    }
}

bool DatabaseDao::EsisteCampo(const QString &tabella, const QString &campo) const noexcept
{
    try {
        const auto t = m_catalogo ? m_catalogo->tabella(tabella.trimmed()) : nullptr;
        return t && !campo.trimmed().isEmpty() && t->indice(campo.trimmed()) >= 0;
    } catch (...) {
        return false;
    }
}
