#pragma once
// How a record set finds a field by the name the suite's code gives it: "T.Field" for a
// field of table (or alias) T, the bare "Field" when no other field of the set has that name;
// letter case ignored. A bare name that two fields share is ambiguous rather than the first
// one found: reading it could give the wrong table's value.
#include "nomi.h"

#include <QString>
#include <QStringView>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class IndiceNomi {
public:
    static constexpr int Mancante = -1;
    static constexpr int Ambiguo = -2;

    // One entry per column, in order: its qualifier ("" for none) and its name.
    void aggiungi(const QString &qualificatore, const QString &nome);
    // The column of a name, or Mancante / Ambiguo. "T.Field" with a T that is not a table of
    // the set, in a set that reads a single table, is the bare "Field" (the suite reads, say, an
    // order's field under the order table's name from a document header copied from it).
    int trova(QStringView nome) const;

private:
    std::unordered_map<QString, int, HashNome, UgualeNome> m_qualificati;
    std::unordered_map<QString, int, HashNome, UgualeNome> m_semplici;
    std::unordered_set<QString, HashNome, UgualeNome> m_qualificatori;
    int m_colonne = 0;
};
