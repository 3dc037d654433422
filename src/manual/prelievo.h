#pragma once
// Picking and releasing an order of the group on display. Picking locks the order for the
// current user (LockGest "O", stage "0", management code "3") and stages its open lines,
// levels, summary rows and expenses in one transaction; releasing deletes the user's staged
// rows of the order and frees the lock, but only a lock this session took: a lock of the same
// user left by another session or by a run is not this form's.
#include "sqlprelievo.h"
#include "variant.h"

#include <QString>
#include <cstdint>
#include <map>
#include <utility>

class PrelievoOrdini {
public:
    enum class Esito {
        Prelevato,   // locked and staged
        Rinuncia,    // the order is in use and the user chose "Esci": marks reset
        Fallito,     // locking or staging failed (told to the user): marks reset, nothing staged
    };

    // Locks the order (asking "Riprova"/"Esci" while another holds it) and stages it anew.
    // On every way out but success the order's marks in OrdVenEvaTest go back to "N".
    Esito Preleva(const OrdineDaPrelevare &ordine);
    // Deletes the user's staged rows of the order and frees this session's lock of it.
    // Errors of the deletions reach the caller.
    void Rilascia(int16_t anno, int32_t numRif);
    // Whether this session holds the order's lock (the lock row it stored is still there).
    bool BloccoDiSessione(int16_t anno, int32_t numRif) const;
    // Frees every lock this session still holds (a group left, the form closed); never raises.
    void RilasciaTutti() noexcept;

    // "Ordini vendita n.rif " NumRif " anno " Anno.
    static QString TestoOrdine(int16_t anno, int32_t numRif);

private:
    using Chiave = std::pair<int16_t, int32_t>;
    // When the lock row was stored, as the database keeps it: a row of the same key stored
    // later by someone else is not this session's.
    static Variant OraDelBlocco(int16_t anno, int32_t numRif);
    Esito PrendiBlocco(const OrdineDaPrelevare &ordine);
    void Stadia(const OrdineDaPrelevare &ordine);
    void AnnullaPrelievo(const OrdineDaPrelevare &ordine) noexcept;
    static void AzzeraMarchi(const QString &utente, int16_t anno, int32_t numRif) noexcept;

    std::map<Chiave, Variant> m_blocchi;
};
