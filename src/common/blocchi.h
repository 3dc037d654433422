#pragma once
// Record locks shared by every program of the suite, and the next free number of a numbered
// table.
//
// A lock is a row of LockGest (Tipo + Anno + NumReg is its unique key), so it lives in the
// database: two programs on two workstations are kept apart by that key, never by this
// process. A caller holds its lock through a record set of ggRecLock() opened on the lock row;
// the set's alias is the caller's key, passed to every later call for the same lock. The key
// "Standard" (any case) means the module's own slot gsUltLock.
#include "gestrecordset.h"
#include "variant.h"

#include <QString>
#include <cstdint>

// BloccaRecord's result codes.
namespace EsitoBlocco {
inline constexpr int16_t Preso = 0;     // lock taken, stage rewritten, or (check only) a row exists
inline constexpr int16_t InUso = 1;     // the row exists: another user's, or the caller's own not accepted
inline constexpr int16_t Conteso = 2;   // another program stored the row first (duplicate key)
inline constexpr int16_t Errore = 3;    // any other error (see UltimoErroreBlocco)
inline constexpr int16_t Assente = 4;   // check only: no row
inline constexpr int16_t Proprio = 5;   // the row is the current user's and the caller accepts it
} // namespace EsitoBlocco

// The record-set manager of the locks, created on first use and shared by the whole program.
GestRecordset &ggRecLock();
// The alias of the lock taken under the key "Standard"; empty at start.
extern QString gsUltLock;

// Takes, finds or re-stages a lock (result: a 16-bit code of EsitoBlocco in a variant).
//   pbBlocca True: find the row of psTipo/piAnno/plNumReg, or store a new one (Utente the
//   current user, Stato psStato, Ora now, Gestione psGestione, Varie psVarie as given, so
//   that whoever releases it by hand sees what it holds, the parent as given). False: write psStato into the row the key's set stands on (the other key fields
//   are ignored). pbSoloVerifica: only find the row (forces pbBlocca).
//   A row found is described by psUtenteLock, psGestione, psVarie and psStatoLock (emptied on
//   entry, except psGestione). With pbMessaggi the refusals and errors are shown.
//   psChiave: in, the alias to reuse ("" lets the manager choose); out, the alias in use.
// Never raises: a failure becomes code 2 or 3, and its cause is kept (UltimoErroreBlocco).
Variant BloccaRecord(const QString &psStato, const QString &psTipo, int16_t piAnno, int32_t plNumReg, bool pbBlocca,
                     bool pbMessaggi, QString &psChiave, const QString &psDescr, QString &psUtenteLock,
                     QString &psGestione, QString &psVarie, bool pbSoloVerifica, const QString &psPadreTipo,
                     int16_t piPadreAnno, int32_t plPadreNumReg, int16_t piAmmettiPropri, QString &psStatoLock);

// The cause of BloccaRecord's last failure (number in the database library's numbering and
// description); 0 and "" after a call that did not fail.
struct ErroreBlocco {
    int32_t numero = 0;
    QString descrizione;
};
const ErroreBlocco &UltimoErroreBlocco();

// Releases the lock the key's set stands on: its row is deleted when it is still the row that
// was read and it belongs to the current user (another user's row, or a row stored anew since,
// is left alone). With pbChiudi the set is closed and the key emptied. Without a key it works
// on gsUltLock. A key whose set is closed or empty is no failure; a delete that fails raises
// its AppError (the set closed all the same when asked): the lock is still held.
void SbloccaRecord(QString &pvChiave, bool pbChiudi);
void SbloccaRecord(bool pbChiudi);

// The question asked when a record is in use: `testo` with the buttons "Riprova" and "Esci".
// True unless the user chose "Esci".
bool RiprovaBlocco(const QString &testo);

// The next free number of psCampo in psTabella: the highest of the year (or, with
// pbAnnoAzzera, of the years on the same side of the company's "Coge.AnnoAzzera"; of the whole
// table when that is 0 or empty) plus 1, Null values ignored; 1 when there is none. A 32-bit
// integer in a variant. Reserves nothing: a caller storing the number relies on the table's
// unique key and numbers again when the store meets a duplicate. Errors reach the caller.
Variant UltimoNumero(int16_t piAnno, const QString &psTabella, const QString &psCampo, bool pbAnnoAzzera);
