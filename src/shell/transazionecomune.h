#pragma once
// A transaction around writes that stand or fall together, the inner transactions of lines and
// levels nesting in it: rolled back unless confirmed, so a stop anywhere inside leaves none of
// them. Opened only when asked.
#include "apperror.h"
#include "transazioni.h"

class TransazioneComune {
public:
    explicit TransazioneComune(bool apri) : m_aperta(apri)
    {
        if (m_aperta)
            IniziaTransazione();
    }
    ~TransazioneComune()
    {
        if (!m_aperta)
            return;
        try {
            AnnullaTransazione();
        } catch (const AppError &) {
            // The failure reported is the one that stopped the writes.
        }
    }
    TransazioneComune(const TransazioneComune &) = delete;
    TransazioneComune &operator=(const TransazioneComune &) = delete;
    void conferma()
    {
        if (m_aperta)
            ConfermaTransazione();
        m_aperta = false;
    }

private:
    bool m_aperta;
};
