#include "rigaposting.h"

#include "contestoposting.h"
#include "dialoghi.h"
#include "errori.h"
#include "transazioni.h"
#include "utilgenerali.h"

namespace {

constexpr int32_t kTentativiAutomatici = 10;
const QString kACapo = QStringLiteral("\r\n");

void annulla()
{
    try {
        AnnullaTransazione();
    } catch (...) {
        // The engine has dropped the transaction already; nothing of the row is left.
    }
}

void mostraTentativo(const QString &testo, int32_t numero, int32_t tentativo)
{
    const QString motivo = numero == ErrDb::Bloccato ? QStringLiteral("Dati bloccati tentativo n. ")
                                                     : QStringLiteral("Dati modificati tentativo n. ");
    mgAvanzamento().Messaggio(testo + kACapo + motivo + QString::number(tentativo));
}

bool riprovare(int32_t numero)
{
    const QString domanda =
        (numero == ErrDb::Bloccato ? QStringLiteral("Dati in uso da altri: RIPROVARE")
                                   : QStringLiteral("Dati modificati da altri: RIPROVARE")) +
        kACapo + QStringLiteral("(In caso contrario i dati delle sintesi movimenti potrebbero non essere giusti)");
    return dialoghi().MsgBox(domanda, PulsantiMsg::SiNo, IconaMsg::Domanda, QString()) == RispostaMsg::Si;
}

} // namespace

std::optional<RigaNonEseguita> EseguiRigaInTransazione(bool disaggiorna, const QString &testoAvanzamento,
                                                       const std::function<void()> &passi)
{
    // The count of the row's conflicts, both kinds together.
    int32_t contatore = disaggiorna ? 0 : 1;
    for (;;) {
        try {
            IniziaTransazione();
            passi();
            ConfermaTransazione();
            return std::nullopt;
        } catch (const AppError &e) {
            annulla();
            const int32_t numero = UtilGenerali::NumeroErrore(e);
            if (numero != ErrDb::Bloccato && numero != ErrDb::ModificatoDaAltri)
                return RigaNonEseguita{e, false};
            if (contatore < kTentativiAutomatici) {
                // Posting shows a changed row's attempt before counting it; the rest count first.
                if (!disaggiorna && numero == ErrDb::ModificatoDaAltri) {
                    mostraTentativo(testoAvanzamento, numero, contatore);
                    ++contatore;
                } else {
                    ++contatore;
                    mostraTentativo(testoAvanzamento, numero, contatore);
                }
                continue;
            }
            if (!riprovare(numero))
                return RigaNonEseguita{e, true};
            contatore = 1;
            mostraTentativo(testoAvanzamento, numero, contatore);
        }
    }
}

void EseguiInTransazione(const std::function<void()> &lavoro)
{
    for (int32_t tentativo = 1;; ++tentativo) {
        try {
            IniziaTransazione();
            lavoro();
            ConfermaTransazione();
            return;
        } catch (const AppError &e) {
            annulla();
            const int32_t numero = UtilGenerali::NumeroErrore(e);
            if ((numero != ErrDb::Bloccato && numero != ErrDb::ModificatoDaAltri) || tentativo == kTentativiAutomatici)
                throw;
        }
    }
}
