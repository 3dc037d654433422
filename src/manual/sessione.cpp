// The picking session of the user and the order locks it takes.
#include "controlloevamanu.h"

#include "apperror.h"
#include "blocchi.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {
const QString kTipoSessione = QStringLiteral("V");
} // namespace

// The same for every session of one user, so that two sessions starting together meet on the
// table's unique key; another user's row on the same number moves to the next one.
int32_t ControlloEvaManu::NumeroSessione(const QString &utente)
{
    const QByteArray nome = utente.toCaseFolded().toUtf8();
    uint32_t h = 2166136261u;
    for (const char c : nome) {
        h ^= static_cast<uint8_t>(c);
        h *= 16777619u;
    }
    return static_cast<int32_t>(h & 0x3FFFFFFFu) + 1;
}

bool ControlloEvaManu::PrendiSessione()
{
    if (SessioneAperta())
        return true;
    const QString utente = Utente();
    int32_t numero = NumeroSessione(utente);
    for (int tentativi = 0; tentativi < 20; ++tentativi) {
        QString chiave, utenteLock, gestione = QStringLiteral("3"), varie = QStringLiteral("EvasioneManuale"), stato;
        const int16_t esito = BloccaRecord(QStringLiteral("0"), kTipoSessione, 0, numero, true, false, chiave,
                                           QStringLiteral("Selezione ordini da evadere"), utenteLock, gestione, varie,
                                           false, QString(), 0, 0, 0, stato)
                                  .toInteger();
        if (esito == EsitoBlocco::Preso) {
            msChiaveSessione = chiave;
            return true;
        }
        ggRecLock().Chiudi(chiave);
        if (esito == EsitoBlocco::InUso && !textEquals(utenteLock, utente)) {
            ++numero;
            continue;
        }
        if (esito == EsitoBlocco::InUso || esito == EsitoBlocco::Conteso) {
            Messaggio(QStringLiteral("La selezione ordini da evadere è già aperta dall'utente ") + utente +
                      QStringLiteral(" in un'altra sessione.\r\nChiuderla prima di aprirne un'altra; se nessuno la sta "
                                     "usando sbloccarla con l'utility di sblocco."));
            return false;
        }
        const ErroreBlocco &e = UltimoErroreBlocco();
        MessaggioErrore(e.numero, e.descrizione);
        return false;
    }
    Messaggio(QStringLiteral("Impossibile registrare la sessione di selezione ordini da evadere"));
    return false;
}

namespace {

// A release the database refuses leaves the lock in place: the user is told.
void rilascia(QString &chiave) noexcept
{
    try {
        SbloccaRecord(chiave, true);
    } catch (const AppError &e) {
        try {
            ControlloEvaManu::MessaggioErrore(UtilGenerali::NumeroErrore(e), e.description(), QStringLiteral("SbloccaRecord"));
        } catch (...) {
            // A message that cannot be shown changes nothing of the lock.
        }
    }
}

} // namespace

void ControlloEvaManu::RilasciaSessione() noexcept
{
    if (SessioneAperta())
        rilascia(msChiaveSessione);
    msChiaveSessione.clear();
}

void ControlloEvaManu::RegistraBloccoOrdine(int16_t anno, int32_t numRif, const QString &chiave)
{
    const auto k = std::make_pair(anno, numRif);
    const auto it = mBlocchiOrdini.find(k);
    if (it != mBlocchiOrdini.end() && it->second != chiave)
        ggRecLock().Chiudi(it->second);
    mBlocchiOrdini[k] = chiave;
}

bool ControlloEvaManu::BloccoDellaSessione(int16_t anno, int32_t numRif) const
{
    return mBlocchiOrdini.count(std::make_pair(anno, numRif)) > 0;
}

void ControlloEvaManu::RilasciaBloccoOrdine(int16_t anno, int32_t numRif) noexcept
{
    const auto it = mBlocchiOrdini.find(std::make_pair(anno, numRif));
    if (it == mBlocchiOrdini.end())
        return;
    QString chiave = it->second;
    mBlocchiOrdini.erase(it);
    rilascia(chiave);
}
