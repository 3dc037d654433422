#pragma once
// The run's selection read in pages by key: each page is the next orders after the last key
// read, in key order, opened under an alias in place of the page before. A run so holds one
// page of orders at a time, whatever their number.
#include "gestrecordset.h"

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

struct ChiaveOrdine {
    int16_t anno = 0;
    int32_t numRif = 0;
    auto operator<=>(const ChiaveOrdine &) const = default;
};

class PagineOrdini {
public:
    // `campi` the columns, `daWhere` the FROM and WHERE of the selection (its WHERE given),
    // `righe` the orders of a page.
    PagineOrdini(GestRecordset &rs, QString alias, QString campi, QString daWhere, int32_t righe);

    // Opens the next page under the alias, its first order current; false when none is left.
    bool Prossima();
    // The key of the page's current order.
    ChiaveOrdine Chiave() const;

private:
    void apri(const QString &termini);

    GestRecordset &m_rs;
    QString m_alias, m_campi, m_daWhere;
    int32_t m_righe;
    std::optional<ChiaveOrdine> m_ultima; // the last key of the page read
    bool m_finite = false;
};
