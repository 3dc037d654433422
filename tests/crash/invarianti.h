#pragma once
// What must hold in a company database whatever instant a run was stopped at: every order line
// and level fulfilled by exactly the document rows that reference it, no document line without
// its levels nor level without its line, the customer-committed quantities equal to the open
// quantities of the orders. Quantities fulfilled before the run (the fixture's partly fulfilled
// orders) are taken from a picture of the orders made before it.
#include <QSqlDatabase>
#include <QStringList>
#include <map>
#include <set>
#include <tuple>
#include <vector>

class FotoOrdini {
public:
    // The fulfilled quantities of every order line and level as they are now.
    explicit FotoOrdini(const QSqlDatabase &db);

    // The faults found, one text each; empty when everything holds.
    QStringList violazioni(const QSqlDatabase &db) const;

    // The same for a cash-sale run, whose orders become stock movements: every stock line and
    // level of the orders fulfilled by exactly the movement rows (posted or still to post) that
    // come from it, a line's row carrying its levels' total, no row both posted and still to
    // post, the rows of each movement numbered 1, 2, 3 ..., the issued quantities and values of
    // the progressives grown by exactly the posted rows, the committed quantities equal to the
    // open ones, no movement header without rows unless its lock holds it. (A movement is
    // posted row by row, level rows first: a stop while posting leaves some rows posted, each
    // with its progressives.)
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
    struct Scarico {
        double qta = 0, val = 0, valLire = 0;
        void aggiungi(double q, double v, double l)
        {
            qta += q;
            val += v;
            valLire += l;
        }
    };
    std::map<ChiaveProg, Scarico> m_scarico; // ArticoliProg issued quantity and values, all years and warehouses
    std::set<int> m_anniProg;                // the years of ArticoliProg
};

// After a recovery that succeeded: no movement header without rows (posted or still to post)
// and no movement lock left. The faults found, one text each.
QStringList violazioniDopoRipristino(const QSqlDatabase &db);

// The values the cash sales gave: those of the movement rows of each order line and level
// (posted or still to post) and the issued quantities and values of the progressives, every
// year summed.
class ValoriMovimenti {
public:
    explicit ValoriMovimenti(const QSqlDatabase &db);
    // Where these differ from `attesi` (an undisturbed run's): every row here carries the values
    // it has there; with `tutti` there are the same rows and the same progressives as well.
    QStringList differenze(const ValoriMovimenti &attesi, bool tutti) const;

private:
    std::map<QString, std::vector<double>> m_righe;   // "ordine 2024/3 riga 2 [livello]" -> values
    std::map<QString, std::vector<double>> m_scarico; // "01 ART1 [livelli]" -> issued
};

// The order reference lines of every document (description lines carrying the flags "N"), in a
// company whose customers all ask for them: none twice in a document, and each followed, before
// the next one, by lines of one order and at least one. The faults found, one text each.
QStringList violazioniRiferimenti(const QSqlDatabase &db);

// The rows of a query, each as its values; raises on a failing statement.
std::vector<QVariantList> righeQuery(const QSqlDatabase &db, const QString &sql);
