#pragma once
// What the database says about its tables: columns in their order, declared types, the
// primary key. The translator, the record sets and the existence checks read it.
#include "motoredb.h"
#include "nomi.h"
#include "tipicampo.h"

#include <QSqlDatabase>
#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

struct ColonnaCatalogo {
    QString nome;
    TipoCampo tipo = TipoCampo::Sconosciuto;
    bool nonNullo = false;
    // A row added without a value for it holds Null: no default, no trigger, not computed.
    // Unknown (false) unless the catalogue could tell.
    bool nullaSeTaciuta = false;
};

class TabellaCatalogo {
public:
    TabellaCatalogo(QString nome, std::vector<ColonnaCatalogo> colonne, std::vector<int> chiave);

    const QString &nome() const { return m_nome; }
    const std::vector<ColonnaCatalogo> &colonne() const { return m_colonne; }
    // Positions of the primary-key columns, in key order.
    const std::vector<int> &chiave() const { return m_chiave; }
    // Position of a column (letter case ignored), -1 when the table has none of that name.
    int indice(QStringView colonna) const;

private:
    QString m_nome;
    std::vector<ColonnaCatalogo> m_colonne;
    std::vector<int> m_chiave;
    std::unordered_map<QString, int, HashNome, UgualeNome> m_indice;
};

class Catalogo {
public:
    virtual ~Catalogo() = default;
    // The table of that name (letter case ignored); nullptr when the database has none.
    virtual std::shared_ptr<const TabellaCatalogo> tabella(QStringView nome) = 0;
    // A number that changes whenever the cached descriptions are dropped.
    virtual uint64_t versione() const { return 0; }
};

// The catalogue of an open connection, read table by table on first use and kept until the
// next schema change made through the connection (or an explicit refresh).
class CatalogoDb : public Catalogo {
public:
    CatalogoDb(QSqlDatabase db, MotoreDb motore);
    std::shared_ptr<const TabellaCatalogo> tabella(QStringView nome) override;
    uint64_t versione() const override { return m_versione; }
    void svuota();

private:
    std::shared_ptr<const TabellaCatalogo> leggi(const QString &nome);
    std::shared_ptr<const TabellaCatalogo> leggiSqlite(const QString &nome);
    std::shared_ptr<const TabellaCatalogo> leggiPostgres(const QString &nome);

    QSqlDatabase m_db;
    MotoreDb m_motore;
    uint64_t m_versione = 1;
    std::unordered_map<QString, std::shared_ptr<const TabellaCatalogo>, HashNome, UgualeNome> m_tabelle;
};

// The field type of a declared SQL type ("VARCHAR(20)", "citext", "numeric" ...).
TipoCampo tipoDaDichiarazione(QStringView dichiarato);
