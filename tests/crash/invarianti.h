#pragma once
// What must hold in a company database whatever instant a run was stopped at: every order line
// and level fulfilled by exactly the document rows that reference it, no document line without
// its levels nor level without its line, the customer-committed quantities equal to the open
// quantities of the orders. Quantities fulfilled before the run (the fixture's partly fulfilled
// orders) are taken from a picture of the orders made before it.
#include <QSqlDatabase>
#include <QStringList>
#include <map>
#include <tuple>

class FotoOrdini {
public:
    // The fulfilled quantities of every order line and level as they are now.
    explicit FotoOrdini(const QSqlDatabase &db);

    // The faults found, one text each; empty when everything holds.
    QStringList violazioni(const QSqlDatabase &db) const;

private:
    using ChiaveRiga = std::tuple<int, int, int>;                    // Anno, NumRif, RigLiv
    using ChiaveLivello = std::tuple<int, int, int, QString, QString>; // + Livello1, Livello2
    std::map<ChiaveRiga, double> m_righe;
    std::map<ChiaveLivello, double> m_livelli;
};

// The rows of a query, each as its values; raises on a failing statement.
std::vector<QVariantList> righeQuery(const QSqlDatabase &db, const QString &sql);
