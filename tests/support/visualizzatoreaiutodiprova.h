#pragma once
// A help viewer that records every request, installed for the scope of a test.
#include "visualizzatoreaiuto.h"

#include <vector>

class VisualizzatoreAiutoDiProva final : public VisualizzatoreAiuto {
public:
    void HtmlHelp(const RichiestaAiuto &richiesta) override { richieste.push_back(richiesta); }
    std::vector<RichiestaAiuto> richieste;
};

class VisualizzatoreAiutoInstallato {
public:
    VisualizzatoreAiutoInstallato()
    {
        auto v = std::make_unique<VisualizzatoreAiutoDiProva>();
        m_prova = v.get();
        m_precedente = impostaVisualizzatoreAiuto(std::move(v));
    }
    ~VisualizzatoreAiutoInstallato() { impostaVisualizzatoreAiuto(std::move(m_precedente)); }
    VisualizzatoreAiutoInstallato(const VisualizzatoreAiutoInstallato &) = delete;
    VisualizzatoreAiutoInstallato &operator=(const VisualizzatoreAiutoInstallato &) = delete;

    VisualizzatoreAiutoDiProva *operator->() { return m_prova; }
    const std::vector<RichiestaAiuto> &richieste() const { return m_prova->richieste; }

private:
    VisualizzatoreAiutoDiProva *m_prova; // owned by the installation while installed
    std::unique_ptr<VisualizzatoreAiuto> m_precedente;
};
