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

    // The same for a cash-sale run, whose orders become stock movements: every stock line and
    // level of the orders fulfilled by exactly the movement rows (posted or still to post) that
    // come from it, a line's row carrying its levels' total, no row both posted and still to
    // post, the issued quantities of the progressives grown by exactly the posted rows, the
    // committed quantities equal to the open ones, no movement header without rows unless its
    // lock holds it. (A movement is posted row by row, level rows first: a stop while posting
    // leaves some rows posted, each with its progressives.)
    QStringList violazioniCorrispettivi(const QSqlDatabase &db) const;

private:
    using ChiaveRiga = std::tuple<int, int, int>;                    // Anno, NumRif, RigLiv
    using ChiaveLivello = std::tuple<int, int, int, QString, QString>; // + Livello1, Livello2
    using ChiaveProg = std::tuple<QString, QString, QString>;        // Articolo, Livello1, Livello2
    // Fulfilled now less fulfilled before, against what the rows give, for every line and level
    // (in a cash sale the stock article lines only); then the committed quantities against the
    // open ones.
    void confronta(const QSqlDatabase &db, const std::map<ChiaveRiga, double> &righe,
                   const std::map<ChiaveLivello, double> &livelli, const QString &dove, bool soloMagazzino,
                   QStringList &out) const;
    std::map<ChiaveRiga, double> m_righe;
    std::map<ChiaveLivello, double> m_livelli;
    std::map<ChiaveProg, double> m_scarico; // ArticoliProg.QtaScarico, all years and warehouses
};

// The order reference lines of every document (description lines carrying the flags "N"), in a
// company whose customers all ask for them: none twice in a document, and each followed, before
// the next one, by lines of one order and at least one. The faults found, one text each.
QStringList violazioniRiferimenti(const QSqlDatabase &db);

// The rows of a query, each as its values; raises on a failing statement.
std::vector<QVariantList> righeQuery(const QSqlDatabase &db, const QString &sql);
