#include "scevaordven.h"

#include "apperror.h"
#include "serviziEvasione.h"
#include "utilgenerali.h"

namespace {
ServiziEvasione *g_serviziPredefiniti = nullptr;
constexpr int32_t kRigheErrori = 30;
}

void ImpostaServiziEvasione(ServiziEvasione *servizi) { g_serviziPredefiniti = servizi; }
ServiziEvasione *ServiziEvasionePredefiniti() { return g_serviziPredefiniti; }

scEvaOrdVen::scEvaOrdVen() = default;
scEvaOrdVen::~scEvaOrdVen() = default;

VettoreChiavi &scEvaOrdVen::ogCambi()
{
    if (!m_cambi)
        m_cambi = std::make_shared<VettoreChiavi>();
    return *m_cambi;
}

GestRecordset &scEvaOrdVen::mgRecs()
{
    if (!m_recs)
        m_recs = std::make_unique<GestRecordset>();
    return *m_recs;
}

AvanzamentoElab &scEvaOrdVen::mgAvanzElab()
{
    if (!m_avanz)
        m_avanz = std::make_unique<AvanzamentoElab>();
    return *m_avanz;
}

ServiziEvasione &scEvaOrdVen::servizi()
{
    ServiziEvasione *s = m_servizi ? m_servizi : g_serviziPredefiniti;
    if (!s)
        throw AppError(91, QStringLiteral("Variabile oggetto o variabile del blocco With non impostata"),
                       QStringLiteral("scEvaOrdVen"));
    return *s;
}

void scEvaOrdVen::AccodaErroreEva(int32_t plNumero, const QString &psTesto)
{
    if (miNumErrori < kRigheErrori)
        msErrori += QStringLiteral("Errore n\u00b0") + QString::number(UtilGenerali::NumeroErrore(plNumero))
                    + QStringLiteral(" : ") + psTesto + QStringLiteral(" in ") + msFase
                    + QStringLiteral(" di Evasione Ordini\r\n");
    else if (miNumErrori == kRigheErrori)
        msErrori += QStringLiteral("..............");
    if (miNumErrori < INT32_MAX)
        ++miNumErrori;
}
