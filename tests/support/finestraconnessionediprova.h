#pragma once
// A connection window that records what the shell asked of it, installed for a test's scope.
#include "finestraconnessione.h"

#include <QStringList>

class FinestraConnessioneDiProva : public FinestraConnessione {
public:
    // One line per call: "Carica", "Caption Connessione primaria al database", ...
    QStringList chiamate;

    void Carica() override { chiamate << QStringLiteral("Carica"); }
    void Mostra() override { chiamate << QStringLiteral("Mostra"); }
    void ImpostaCaption(const QString &c) override { chiamate << QStringLiteral("Caption ") + c; }
    void Ridisegna() override { chiamate << QStringLiteral("Ridisegna"); }
    void MostraTitolo() override { chiamate << QStringLiteral("Titolo"); }
    void ImpostaVersione(const QString &c) override { chiamate << QStringLiteral("Versione ") + c; }
    void ImpostaDataVersione(const QString &c) override { chiamate << QStringLiteral("DataVersione ") + c; }
    void MostraImmagini(bool accesso) override
    {
        chiamate << (accesso ? QStringLiteral("Immagini con accesso") : QStringLiteral("Immagini"));
    }
    void Scarica() override { chiamate << QStringLiteral("Scarica"); }
};

class FinestraConnessioneInstallata {
public:
    FinestraConnessioneInstallata()
    {
        auto f = std::make_unique<FinestraConnessioneDiProva>();
        m_prova = f.get();
        m_precedente = impostaFinestraConnessione(std::move(f));
    }
    ~FinestraConnessioneInstallata() { impostaFinestraConnessione(std::move(m_precedente)); }
    FinestraConnessioneInstallata(const FinestraConnessioneInstallata &) = delete;
    FinestraConnessioneInstallata &operator=(const FinestraConnessioneInstallata &) = delete;
    FinestraConnessioneDiProva *operator->() { return m_prova; }

private:
    FinestraConnessioneDiProva *m_prova; // owned by the seam while installed
    std::unique_ptr<FinestraConnessione> m_precedente;
};
