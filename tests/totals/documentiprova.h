#pragma once
// Small delivery notes and invoices of a test's own, written on the company fixture:
//
//   DocumentoProva d;                                 // invoice 2024/1, customer 14-01-0001, euro
//   d.righe = {{.iva = "22", .valTotale = 100}};
//   d.spese = {{.spesa = "TRA", .iva = "22", .importo = 15}};
//   scriviDocumento(db, d);
//
// The header takes sensible values (date 15/03/2024, type "FAT" or "DDT", payment "RD", net
// prices, no stamps) that `testata` overrides field by field. Lines take RigLiv = RigDet = 1,
// 2, ..., the sales account 58-01-0001, quantity 1 and a unit price equal to the value unless
// given; `extra` overrides any of their fields.
#include "rowwriter.h"

#include <QSqlDatabase>
#include <QString>
#include <vector>

struct LivelloProva {
    QString livello1{}, livello2{};
    double qta = 1;
    double valUnitario = 0;
    double valTotale = 0;
};

struct RigaProva {
    QString iva{};
    double valTotale = 0;
    double qta = 1;
    double valUnitario = 0; // 0: the value divided by the quantity
    QString sconto{};
    QString omaggio = QStringLiteral("N");
    QString tipoRiga = QStringLiteral("A");
    std::vector<LivelloProva> livelli{};
    suite::FieldValues extra{};
};

struct SpesaProva {
    QString spesa{};
    QString iva{};
    double importo = 0;
    double percentuale = 0;
    double minimo = 0;
    double massimo = 0;
    suite::FieldValues extra{};
};

struct DocumentoProva {
    bool fattura = true;          // FatTest/FatDett/FatLiv/FatSpese, else the Ddt tables
    int16_t anno = 2024;
    int32_t numRif = 1;
    suite::FieldValues testata{};
    std::vector<RigaProva> righe{};
    std::vector<SpesaProva> spese{};
};

void scriviDocumento(const QSqlDatabase &db, const DocumentoProva &d);

// Expense masters the footer tests use beside the fixture's: weight "PES", apportioned
// "RIP" and "RIPS" (the latter subject to the payment discount), "TRS" fixed and subject to
// the discount, pension fund "CPA", stamp "BOLS" for bills with its rounding up to the cent
// and "BOLV", the same with an empty rounding flag.
void scriviSpeseDiProva(const QSqlDatabase &db);
