#pragma once
// The connection window frmConn as the shell's logic drives it: loaded with the version lines
// at start-up, shown while the company database opens, closed by the form set-up when the
// first program form is on the screen. The program installs the real window; without one
// nothing is shown (tests install their own to see what was asked).
#include <QString>
#include <memory>

class FinestraConnessione {
public:
    virtual ~FinestraConnessione() = default;
    // Loads the window (centred on the screen, not shown).
    virtual void Carica() = 0;
    // Shows it, not modal.
    virtual void Mostra() = 0;
    virtual void ImpostaCaption(const QString &caption) = 0;
    virtual void Ridisegna() = 0;
    // labTitolo visible.
    virtual void MostraTitolo() = 0;
    // labVersione and LabDataVer: caption set and made visible.
    virtual void ImpostaVersione(const QString &caption) = 0;
    virtual void ImpostaDataVersione(const QString &caption) = 0;
    // imgLogo visible; imgAccess visible exactly when asked.
    virtual void MostraImmagini(bool accesso) = 0;
    // Closes the window and releases it.
    virtual void Scarica() = 0;
};

FinestraConnessione &finestraConn();
// Installs the window; returns the previous one (an empty pointer: nothing is shown).
std::unique_ptr<FinestraConnessione> impostaFinestraConnessione(std::unique_ptr<FinestraConnessione> f);
