#pragma once
// A lookup window for tests: records every opening (what the component asked it to show) and
// answers with the row the test's chooser picks (none by default).
#include "finestraaiuto.h"

#include <functional>
#include <vector>

class FinestraAiutoDiProva : public FinestraAiuto {
public:
    struct Apertura {
        QString titolo, testo;
        ModoRicerca modo = ModoRicerca::Codice;
        QStringList intestazioni;
        QStringList trovati; // codes of the rows the first search finds
        ImmaginiAiuto immagini;
    };

    std::vector<Apertura> aperture;
    // Picks the row to choose; called while the window is "open".
    std::function<std::optional<int>(const RichiestaRicerca &)> scegli;

    // A chooser that takes the first row the window's first search finds.
    static std::optional<int> primoTrovato(const RichiestaRicerca &r)
    {
        const auto righe = r.elenco->cerca(r.testo, r.modo);
        if (righe.empty())
            return std::nullopt;
        return righe.front();
    }

    std::optional<int> Scegli(const RichiestaRicerca &r) override
    {
        Apertura a{r.titolo, r.testo, r.modo, r.elenco->intestazioni(), {}, r.immagini};
        for (int i : r.elenco->cerca(r.testo, r.modo))
            a.trovati << r.elenco->codice(i);
        aperture.push_back(a);
        return scegli ? scegli(r) : std::nullopt;
    }
    QWidget *finestra() override { return nullptr; }
    bool Visibile() const override { return false; }
    void ButtonComando(const QString &) override {}
    void HideFrm() override {}
    void ChiudiAiuto() override {}
    QWidget *ofrmAttiva() const override { return nullptr; }
};
