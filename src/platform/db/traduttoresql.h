#pragma once
// Statements come in the suite's dialect (Jet's) and go to the engine in its own: the
// translator reads each statement into a syntax tree and writes it again for SQLite or
// PostgreSQL, keeping Jet's meaning: the types of values and Jet's arithmetic on them (exact
// currency, 32-bit whole numbers, dates), text compared ignoring case, "&" with Null as "",
// Like's whole pattern language, the functions of the dialect (others are refused with 3085),
// TOP, DISTINCTROW, UNION, date literals, UPDATE and DELETE over a join tree. Names are quoted
// as the engine needs. It also tells which field each column of a SELECT's result is, and of
// which type, so that record sets name and read fields as the suite's did.
#include "catalogo.h"
#include "jetalbero.h"
#include "motoredb.h"
#include "nomi.h"
#include "tipicampo.h"

#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

// A column of a SELECT's result as the record sets name it.
struct ColonnaRisultato {
    QString qualificatore; // table or alias of a plain column ("" for expressions and aliased items)
    QString nome;          // the field's name (its alias when it has one); "" when the statement gives none
    QString fonte;         // the table or alias of the FROM clause it comes from ("" for expressions)
    QString tabellaBase;   // the table a write of this field goes to ("" when not a plain column)
    QString colonnaBase;   // the column in that table
    TipoCampo tipo = TipoCampo::Sconosciuto;
    bool nonNullo = false;
};

// One item of a SELECT list: a column, or every column of a table ("T.*", "*").
struct VoceRisultato {
    ColonnaRisultato colonna;                    // for a single column
    std::shared_ptr<const TabellaCatalogo> tutte; // for "T.*": the table, named by colonna.qualificatore
};

struct Traduzione {
    QString sql;
    TipoIstruzione tipo = TipoIstruzione::Altro;
    bool schema = false;        // CREATE, DROP or ALTER: the catalogue changes
    bool colonneNote = false;   // `voci` describes the whole result
    bool senzaRighe = false;    // a plain SELECT whose WHERE compares two numbers that differ
    std::vector<VoceRisultato> voci;
};

// The result's columns one by one, "T.*" spelled out.
std::vector<ColonnaRisultato> colonneRisultato(const Traduzione &t);

// One translation, without cache.
Traduzione traduciJet(QStringView sql, MotoreDb motore, Catalogo &catalogo);

// A translator bound to a connection's engine and catalogue, keeping the translations of the
// texts it has seen (the order selection and the per-row statements repeat).
class TraduttoreSql {
public:
    TraduttoreSql(MotoreDb motore, Catalogo &catalogo) : m_motore(motore), m_catalogo(catalogo) {}

    std::shared_ptr<const Traduzione> traduci(const QString &sql);
    MotoreDb motore() const { return m_motore; }
    void svuota() { m_cache.clear(); }

private:
    MotoreDb m_motore;
    Catalogo &m_catalogo;
    uint64_t m_versioneCatalogo = 0;
    std::unordered_map<QString, std::shared_ptr<const Traduzione>, HashTesto> m_cache;
};
