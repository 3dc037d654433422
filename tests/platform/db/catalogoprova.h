#pragma once
// A catalogue held in memory, for translating statements without a database.
#include "catalogo.h"

#include <memory>

class CatalogoProva : public Catalogo {
public:
    void aggiungi(const QString &nome, std::vector<ColonnaCatalogo> colonne, std::vector<int> chiave = {})
    {
        m_tabelle[nome] = std::make_shared<TabellaCatalogo>(nome, std::move(colonne), std::move(chiave));
    }
    std::shared_ptr<const TabellaCatalogo> tabella(QStringView nome) override
    {
        const auto it = m_tabelle.find(nome);
        return it == m_tabelle.end() ? nullptr : it->second;
    }

private:
    std::unordered_map<QString, std::shared_ptr<const TabellaCatalogo>, HashNome, UgualeNome> m_tabelle;
};
