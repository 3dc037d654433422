#pragma once
// The settings objects of the help/lookup component: named values read and written by name
// (ovLeggiPar), as the program sets them before a lookup.
#include "variant.h"

#include <QString>
#include <map>

class ParametriAiuto {
public:
    // The value set under the name (letter case ignored); Empty when never set.
    Variant ovLeggiPar(const QString &nome) const;
    void ovLeggiPar(const QString &nome, const Variant &valore);

private:
    struct Minore {
        bool operator()(const QString &a, const QString &b) const { return a.compare(b, Qt::CaseInsensitive) < 0; }
    };
    std::map<QString, Variant, Minore> m_valori;
};

// The search settings ("RetZeroRec", "MostraImg"); ogComlin holds the window's list settings
// ("ForzaPassThrough" and the margins "MargSopra", "MargSotto", "MargSin", "MargDestra").
class OggettoRicercaAiuto : public ParametriAiuto {
public:
    ParametriAiuto &ogComlin() { return m_comlin; }
    const ParametriAiuto &ogComlin() const { return m_comlin; }

private:
    ParametriAiuto m_comlin;
};

// The decode settings ("CFHelpRic11", "CFHelpRic12") and a colour the program lends the
// component's fields while a lookup is open (kept, not drawn by this stand-in).
class OggettoDecodificaAiuto : public ParametriAiuto {
public:
    int32_t olColBackOk = static_cast<int32_t>(0x80000005u);
};
