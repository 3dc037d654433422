#pragma once
// The two posting drivers: the detail lines ("D") or the level rows ("L") of one stock
// movement carried into the product data, or taken out of it, one row at a time, each row in
// its own transaction with the retry rule for record conflicts and the posting error form.
// Level rows come before detail lines in both directions: the level rows are selected through
// their detail line, which would be gone once the detail lines are moved or deleted.
#include "contestoposting.h"
#include "gestrecordset.h"

#include <QString>
#include <cstdint>

// Un-posts the rows of MovMagDett / MovMagLiv and, with pbCancella, deletes them; otherwise
// marks them with psFlagStato. psAliasTes: the header joined with its causal (opened here when
// empty, shared by the calls of one re-posting). pvConForm: the progress form of the program,
// started and ended here; otherwise the form registered with mgAvanzamento(). piErrore: see
// EseguiPassata (0 the error form, -2 stop at the first failed row, other silent).
EsitoPosting DisaggiornaMovimento(int16_t piAnnoRegMov, int32_t plNumRegMov, GestRecordset &pgRec, QString &psAliasRiga,
                                  const QString &psTipoRiga, bool pvConForm, QString &psAliasTes, bool pbCancella,
                                  const QString &psFlagStato, int16_t &piErrore);

// Posts the rows: with pbDaApp those of the work tables MovMagDettApp / MovMagLivApp, each
// moved into MovMagDett / MovMagLiv once posted; otherwise those of the movement tables (only
// the ones marked "2" with pbSoloDisaggiornate), their lire and euro values reconverted, each
// marked with psFlagStato once posted. psAliasRiga given: the rows of that open set (left
// open). The movement's expenses are shared by the causal's rule over the work rows' total.
EsitoPosting AggiornaMovimento(int16_t piAnnoRegMov, int32_t plNumRegMov, GestRecordset &pgRec,
                               const QString &psTipoRiga, bool pvConForm, QString &psAliasTes, QString &psAliasRiga,
                               bool pbDaApp, const QString &psFlagStato, int16_t &piErrore, bool pbSoloDisaggiornate);
