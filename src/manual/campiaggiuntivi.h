#pragma once
// The user's extra columns of the picking grids and the order of their columns, from the
// personal parameters of section "Ordini", read once when the form loads.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// The tables of the order grid's query: the user's staged orders joined with their headers.
inline constexpr const char *kDaTestata = " FROM OrdVenEvaTest INNER JOIN OrdVenTest"
                                          " On OrdVenEvaTest.Anno = OrdVenTest.Anno"
                                          " And OrdVenEvaTest.NumRif = OrdVenTest.NumRif";

// An extra column of the order grid: an expression of the header query.
struct CampoAggTesta {
    QString orig;    // source expression (a field named alone is written with its table)
    QString nome;    // alias (written between brackets) and heading
    int32_t larg = 0; // twips before the screen factor; 0 keeps the grid's width
    QString formato; // number format, empty for none
};

// An extra column of the line grid, carried by one spare column of OrdVenEvaDett.
struct CampoAggCorpo {
    QString orig;    // source field, "Campo" or "Tabella.Campo"
    QString titolo;  // heading
    int32_t larg = 0;
    int16_t tipo = 10; // type group: 4 Long, 7 Double, 8 Date, 10 Text, 12 Memo
    QString colonna; // spare staging column (AltriTesto1 ...)
    QString formato;
};

struct CampiAggiuntivi {
    std::vector<CampoAggTesta> testa; // extra header column n is testa[n - 1]
    std::vector<CampoAggCorpo> corpo; // at most 9
    std::vector<int16_t> ordColTesta; // column order lists: <= 100 standard, > 100 extra n - 100
    std::vector<int16_t> ordColCorpo;
    // The definitions refused (parameter names), told once to the user.
    QStringList scartati;
};

// Reads the definitions and the two order lists. `livelli`: the company handles levels
// (OrdVenLiv is then a source table of the line columns).
CampiAggiuntivi LeggiCampiAggiuntivi(bool livelli);
// The type group of a line source (DAO type of the field mapped to 4, 7, 8, 10 or 12); -1 when
// the source names no field of the tables the line staging reads.
int16_t CercaTipo(const QString &psCampo, bool livelli);
// A column order list ("3,-2,5" keeps 3 and 5).
std::vector<int16_t> LeggiOrdineColonne(const QString &lista);
