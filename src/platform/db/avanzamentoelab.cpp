#include "avanzamentoelab.h"

#include <algorithm>

AvanzamentoElab::AvanzamentoElab() : m_memoria(std::make_unique<VistaAvanzamentoMemoria>())
{
    m_vista = m_memoria.get();
}

void AvanzamentoElab::ImpostaForm(VistaAvanzamento *form)
{
    m_form = form;
}

void AvanzamentoElab::Avvia(int32_t massimo, const QString &testo, int32_t inizio, bool a, bool b, const Variant &c,
                            const QString &titolo, int16_t d, bool e)
{
    AvviaConForm(m_form ? *m_form : *m_memoria, massimo, testo, inizio, a, b, c, titolo, d, e);
}

void AvanzamentoElab::AvviaConForm(VistaAvanzamento &form, int32_t massimo, const QString &testo, int32_t inizio, bool,
                                   bool, const Variant &, const QString &titolo, int16_t, bool)
{
    m_vista = &form;
    m_massimo = std::max(massimo, 0);
    m_vista->impostaMassimo(m_massimo);
    m_vista->impostaMessaggio(testo);
    m_vista->impostaValore(std::clamp(inizio, 0, m_massimo), {});
    m_vista->mostra(titolo);
    m_vista->ridisegna();
}

void AvanzamentoElab::ImpostaMassimo(int32_t massimo, bool, const Variant &)
{
    m_massimo = std::max(massimo, 0);
    m_vista->impostaMassimo(m_massimo);
    m_vista->ridisegna();
}

void AvanzamentoElab::Avanza(const Variant &valore, const Variant &didascalia, bool)
{
    const int32_t v = valore.isBlank() ? 0 : valore.toLong();
    m_vista->impostaValore(std::clamp(v, 0, std::max(m_massimo, v)), didascalia.text());
    m_vista->ridisegna();
}

void AvanzamentoElab::Messaggio(const QString &testo)
{
    m_vista->impostaMessaggio(testo);
    m_vista->ridisegna();
}

void AvanzamentoElab::Termina(bool)
{
    m_vista->nascondi();
}
