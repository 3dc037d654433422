#pragma once
// A catalogue held in memory, for translating statements without a database.
#include "catalogo.h"

#include <memory>

class CatalogoProva : public Catalogo {
public:
    void aggiungi(const QString &nome, std::vector<ColonnaCatalogo> colonne, std::vector<int> chiave = {})
    {
        m_tabelle[nome] = std::make_unique<TabellaCatalogo>(nome, std::move(colonne), std::move(chiave));
    }
    const TabellaCatalogo *tabella(QStringView nome) override
    {
        const auto it = m_tabelle.find(nome);
        return it == m_tabelle.end() ? nullptr : it->second.get();
    }

private:
    std::unordered_map<QString, std::unique_ptr<TabellaCatalogo>, HashNome, UgualeNome> m_tabelle;
};
