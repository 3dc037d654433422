#pragma once
// The schema of an open database as the suite's code reads it: table definitions by name,
// their fields by name, each field's type as the published DAO type code. Answers come from
// the connection's catalogue; a missing table or field raises 3265 ("item not found").
#include "catalogo.h"

#include <QString>
#include <QStringList>
#include <memory>

class CampoDao {
public:
    CampoDao(QString nome, TipoCampo tipo) : m_nome(std::move(nome)), m_tipo(tipo) {}
    const QString &Name() const { return m_nome; }
    int16_t Type() const { return tipoDao(m_tipo); }
    TipoCampo tipo() const { return m_tipo; }

private:
    QString m_nome;
    TipoCampo m_tipo;
};

class TabellaDao {
public:
    explicit TabellaDao(std::shared_ptr<const TabellaCatalogo> t) : m_tabella(std::move(t)) {}
    const QString &Name() const { return m_tabella->nome(); }
    CampoDao Fields(const QString &nome) const;
    int FieldsCount() const { return static_cast<int>(m_tabella->colonne().size()); }

private:
    std::shared_ptr<const TabellaCatalogo> m_tabella;
};

class DatabaseDao {
public:
    DatabaseDao(Catalogo *catalogo, QString nome) : m_catalogo(catalogo), m_nome(std::move(nome)) {}
    const QString &Name() const { return m_nome; }
    TabellaDao TableDefs(const QString &tabella) const;

    // The existence checks of the suite: never raise, answer false on any doubt.
    bool EsisteTabella(const QString &tabella) const noexcept;
    bool EsisteCampo(const QString &tabella, const QString &campo) const noexcept;

private:
    Catalogo *m_catalogo;
    QString m_nome;
};
