#pragma once
// What must hold of a company database however many programs fulfilled its orders at once,
// read through the company database (ggDbAzienda) as the program reads it.
//
//   const OrdiniPrima prima = fotografaOrdini();   // before the runs
//   ... the runs ...
//   EXPECT_EQ(verificaInvarianti(prima, 2024), QStringList{});
//
// Each fault is one text naming the row; an empty list means that everything holds.
#include <QString>
#include <QMap>
#include <QStringList>
#include <cstdint>
#include <map>
#include <tuple>

// Order line: Anno, NumRif, RigLiv. Order level: the line and Livello1, Livello2.
using ChiaveRigaOrdine = std::tuple<int, int, int>;
using ChiaveLivelloOrdine = std::tuple<int, int, int, QString, QString>;

// The fulfilled quantities of the order lines and levels before the runs.
struct OrdiniPrima {
    std::map<ChiaveRigaOrdine, double> evasaRighe;
    std::map<ChiaveLivelloOrdine, double> evasaLivelli;
    // Article, Livello1, Livello2 -> QtaScarico of the year's progressive (warehouse "01").
    std::map<std::tuple<QString, QString, QString>, double> scarico;
};
OrdiniPrima fotografaOrdini();

// The data the runs must leave consistent:
// - every order line and level fulfilled by the runs by exactly as much as the document (or
//   movement) lines that name it as their provenance carry, by one such line at most, and never
//   beyond its ordered quantity;
// - line states "E" exactly when fulfilled in full, order states "E" exactly when no article
//   line is open;
// - the customer-committed quantity of each product progressive of the year equal to the
//   quantities still open on the orders of its article and levels, and its issued quantity
//   grown by exactly the quantities of the posted stock movements (cash sales);
// - one header per document and movement number, no two lines of a document on one row
//   number, no document header without lines.
QStringList verificaInvarianti(const OrdiniPrima &prima, int16_t anno);

// The rows the runs left in LockGest and DocDaElab, one text each.
QStringList righeRimaste();

// The orders of the year whose state is "E", by number.
QList<int> ordiniEvasi(int16_t anno);

// The order type (FattDocumento) of each order of the year, by number.
QMap<int, QString> tipiOrdine(int16_t anno = 2024);
