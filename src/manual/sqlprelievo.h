#pragma once
// The statements that stage a picked order for the current user (its open lines, levels,
// level summary rows and expenses) and take it away again. Each kind of row is written by one
// INSERT ... SELECT run by the database.
#include "variant.h"

#include <QString>
#include <QStringList>
#include <cstdint>

struct OrdineDaPrelevare {
    QString utente;
    int16_t anno = 0;
    int32_t numRif = 0;
    bool evadeTutto = false;   // "Tutto": quantities to fulfil start at the open quantity
    Variant dataConsTestata;   // the order header's delivery date (Null when none)
    bool gesTaglie = false;    // the company manages levels: level and summary rows
    bool partitaEnse = false;  // descriptions extended with the article's class attributes
    // The request's delivery-date and article ranges (empty bounds are not applied).
    Variant dataConsDa, dataConsA;
    QString articoloDa, articoloA;
    // Extra line columns: spare staging column i receives source i.
    QStringList colonneAgg, origineAgg;
};

namespace sqlPrelievo {

// The order's rows of the user in OrdVenEvaDett / OrdVenEvaSpese.
QString CancellaRighe(const QString &utente, int16_t anno, int32_t numRif);
QString CancellaSpese(const QString &utente, int16_t anno, int32_t numRif);
// One row per open line without levels and per open level (levels only when managed).
QString InserisciRighe(const OrdineDaPrelevare &o);
// One "*liv" row per open line that has levels.
QString InserisciRiepiloghi(const OrdineDaPrelevare &o);
// One row per expense of the order, not selected.
QString InserisciSpese(const OrdineDaPrelevare &o);

} // namespace sqlPrelievo
