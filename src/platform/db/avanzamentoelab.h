#pragma once
// The progress display of long runs: the library fills a progress form (the program's
// frmInElab implements VistaAvanzamento) with a title, a message, the count done and the
// count to do. Without a form it keeps the state in a headless view that tests read.
// Updating a view repaints it and dispatches nothing: no user input and no socket event may
// run in the middle of a run.
#include "variant.h"

#include <QString>
#include <memory>

class VistaAvanzamento {
public:
    virtual ~VistaAvanzamento() = default;
    virtual void mostra(const QString &titolo) = 0;
    virtual void impostaMassimo(int32_t massimo) = 0;
    virtual void impostaValore(int32_t fatti, const QString &didascalia) = 0;
    virtual void impostaMessaggio(const QString &testo) = 0;
    virtual void nascondi() = 0;
    // Paints what changed now, without running the event loop.
    virtual void ridisegna() = 0;
};

// The view without a window: what a form would show, readable by tests.
class VistaAvanzamentoMemoria : public VistaAvanzamento {
public:
    void mostra(const QString &t) override { visibile = true; titolo = t; }
    void impostaMassimo(int32_t m) override { massimo = m; }
    void impostaValore(int32_t f, const QString &d) override { fatti = f; didascalia = d; }
    void impostaMessaggio(const QString &t) override { messaggio = t; }
    void nascondi() override { visibile = false; }
    void ridisegna() override { ++ridisegni; }

    bool visibile = false;
    QString titolo, messaggio, didascalia;
    int32_t massimo = 0, fatti = 0, ridisegni = 0;
};

class AvanzamentoElab {
public:
    AvanzamentoElab();

    // The owner form; the view used by Avvia.
    void ImpostaForm(VistaAvanzamento *form);
    // Starts the display: maximum, message, then the display options of the suite (the
    // starting value, two flags, a style code, the title, a mode and a flag).
    void Avvia(int32_t massimo, const QString &testo, int32_t inizio = 0, bool = true, bool = true,
               const Variant & = {}, const QString &titolo = {}, int16_t = 2, bool = true);
    // The same on the given form.
    void AvviaConForm(VistaAvanzamento &form, int32_t massimo, const QString &testo, int32_t inizio = 0, bool = true,
                      bool = true, const Variant & = {}, const QString &titolo = {}, int16_t = 2, bool = true);
    // The maximum, with the display options that the suite passes along with it.
    void ImpostaMassimo(int32_t massimo, bool = true, const Variant & = {});
    // Shows the count done (and, when given, a caption for it).
    void Avanza(const Variant &valore, const Variant &didascalia = {}, bool = true);
    void Messaggio(const QString &testo);
    void Termina(bool = true);

    VistaAvanzamento &vista() { return *m_vista; }
    // The headless view (when no form was given), for tests.
    const VistaAvanzamentoMemoria &memoria() const { return *m_memoria; }

private:
    std::unique_ptr<VistaAvanzamentoMemoria> m_memoria;
    VistaAvanzamento *m_form = nullptr;
    VistaAvanzamento *m_vista = nullptr;
    int32_t m_massimo = 0;
};
