#pragma once
// Field lists as the decodes take them (an array of field names) and give them back (the values).
#include "variant.h"

#include <QStringList>
#include <initializer_list>

inline Variant listaNomi(std::initializer_list<const char *> campi)
{
    VariantArray a;
    for (const char *c : campi)
        a.items.emplace_back(QString::fromUtf8(c));
    return Variant(std::move(a));
}

// The values as texts, an Empty one written "<Empty>".
inline QStringList testiLista(const Variant &lista)
{
    QStringList t;
    for (const Variant &v : lista.toArray().items)
        t << (v.isEmpty() ? QStringLiteral("<Empty>") : v.text());
    return t;
}
