#pragma once
// A search criterion in the suite's expression syntax ("Anno = 2024 And Tipo = 'F'"), read
// once and evaluated on the client against the rows of a record set, with Jet's rules: text
// compared ignoring case, Null making a comparison unknown (so not met), Jet's arithmetic
// (overflow 6, division by zero 11), Like's pattern language and the dialect's functions.
#include "jetalbero.h"
#include "variant.h"

#include <QString>
#include <functional>
#include <vector>

class Criterio {
public:
    explicit Criterio(const QString &testo);

    const QString &testo() const { return m_testo; }
    // Ties each field name of the criterion to a field of the set: `indice` answers the
    // field's position, -1 for an unknown name (raises 3070) or -2 for an ambiguous one (3265).
    void collega(const std::function<int(QStringView)> &indice);
    // Whether the row meets the criterion; `campo` gives a field's value by position.
    bool soddisfatto(const std::function<Variant(int)> &campo) const;

private:
    Variant valuta(int nodo, const std::function<Variant(int)> &campo, int &profondita) const;

    QString m_testo;
    Albero m_albero;
    int m_radice = -1;
    std::vector<int> m_campi; // node -> field position
};

