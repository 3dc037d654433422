#pragma once
// The suite's field types, as the schema declares them and the record sets read them back.
#include <cstdint>

enum class TipoCampo : uint8_t {
    Sconosciuto, // an expression, or a column the catalogue does not describe
    Testo,       // Text(n): VARCHAR(n) COLLATE NOCASE / citext
    Memo,        // TEXT COLLATE NOCASE / citext
    Intero,      // 16-bit: SMALLINT (booleans are stored here as -1/0)
    Lungo,       // 32-bit: INTEGER
    Doppio,      // DOUBLE / double precision
    Valuta,      // CURRENCY_E4 (ten-thousandths in an INTEGER) / numeric(19,4)
    Data,        // DATE
    DataOra,     // DATETIME / timestamp(0)
};

inline bool eTesto(TipoCampo t) { return t == TipoCampo::Testo || t == TipoCampo::Memo; }
inline bool eNumero(TipoCampo t)
{
    return t == TipoCampo::Intero || t == TipoCampo::Lungo || t == TipoCampo::Doppio || t == TipoCampo::Valuta;
}
inline bool eData(TipoCampo t) { return t == TipoCampo::Data || t == TipoCampo::DataOra; }

// The type code the suite's data-access objects publish for a field type (Text 10, Memo 12,
// Integer 3, Long 4, Double 7, Currency 5, Date 8); -1 for an unknown type.
inline int16_t tipoDao(TipoCampo t)
{
    switch (t) {
    case TipoCampo::Testo: return 10;
    case TipoCampo::Memo: return 12;
    case TipoCampo::Intero: return 3;
    case TipoCampo::Lungo: return 4;
    case TipoCampo::Doppio: return 7;
    case TipoCampo::Valuta: return 5;
    case TipoCampo::Data: case TipoCampo::DataOra: return 8;
    case TipoCampo::Sconosciuto: break;
    }
    return -1;
}
