#pragma once
// What the stock posting shows on the screen, as a seam the program fills with its forms: the
// progress form "In Elaborazione", the form that is active when a re-posting starts, the
// hourglass, and the posting error form. Without forms installed the posting runs headless:
// the progress is kept in memory and each error form's content is recorded (tests read them).
#include "avanzamentoelab.h"

#include <QString>
#include <map>
#include <memory>
#include <vector>

// What the posting error form shows: its caption and headline, the error text, and the value
// labels by their index (10 to 150 in steps of 10: movement number, date, causal, source and
// destination, price list, currency, rate, article, quantity, price, amount, stock quantity,
// price in lire, price in euro).
struct ContenutoErrAggMov {
    QString titolo;
    QString messaggio;
    std::map<int, QString> valori;
};

class VistePosting {
public:
    virtual ~VistePosting() = default;
    // The program's progress form.
    virtual VistaAvanzamento &formInElab() = 0;
    // The form active on the screen as a progress display; nullptr when there is none.
    virtual VistaAvanzamento *formAttiva() = 0;
    // The hourglass on (the pointer in use saved) or off (the saved pointer back).
    virtual void clessidra(bool acceso) = 0;
    // Shows the posting error form modally; returns when the user has closed it.
    virtual void mostraErrAggMov(const ContenutoErrAggMov &contenuto) = 0;
};

// The headless displays.
class VistePostingMemoria : public VistePosting {
public:
    VistaAvanzamento &formInElab() override { return progresso; }
    VistaAvanzamento *formAttiva() override { return nullptr; }
    void clessidra(bool acceso) override { clessidre.push_back(acceso); }
    void mostraErrAggMov(const ContenutoErrAggMov &contenuto) override { errori.push_back(contenuto); }

    VistaAvanzamentoMemoria progresso;
    std::vector<bool> clessidre;
    std::vector<ContenutoErrAggMov> errori;
};

// The installed displays (headless until the program installs its forms).
VistePosting &vistePosting();
// Installs the displays; returns the previous ones (tests restore them).
std::unique_ptr<VistePosting> impostaVistePosting(std::unique_ptr<VistePosting> viste);
