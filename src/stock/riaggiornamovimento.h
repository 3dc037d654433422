#pragma once
// The re-posting of one stock movement: its rows replaced by the rows waiting in the work
// tables, and the product data brought up to date, in one call.
//
// The caller (the cash-sale conversion) has written the movement's header, its lines into
// MovMagDettApp and its level rows into MovMagLivApp (FlagStato "0"), holds the movement's
// LockGest row (type "M") under the key psChiaveLock, and releases it afterwards.
#include "contestoposting.h"

#include <QString>
#include <cstdint>

// piAnnoRegMov, plNumRegMov: the movement (MovMagTes.Anno, NumReg).
// pbConForm: True shows the progress on the program's progress form "In Elaborazione" (closed
//   after each pass); False on the form active on the screen at the call.
// pbDisaggiorna: True takes the movement's old rows out of the product data before deleting
//   them; False deletes them without (the movement had none posted: a new movement).
// psChiaveLock: the key (record-set alias) under which the caller holds the lock row; its stage
//   is re-staged "2" while old rows are un-posted, "B" while they are deleted, "3" while the
//   work rows are posted and the rest is done. The lock is neither taken nor released here.
// pbSenzaVecchie: True leaves the old lines and level rows alone and adds the work rows to them.
//
// Then the work rows are posted and moved into MovMagLiv / MovMagDett (level rows first), the
// serial-number and lot-tracing work rows replace the movement's own, and the issue values of
// the lines of articles with levels are recomputed.
//
// The result tells whether all of it was done: riuscito() only then. On a failure nothing is
// reported as done that was not: a row whose posting failed stays in its work table (or, when
// un-posting, in the movement's table) and is counted; the lock keeps the stage reached ("3"
// once posting began), for the recovery of the movement. A refused re-staging of the lock, or
// a failed un-posting of the old rows, stops the re-posting before anything new is posted; a
// failed level row leaves the detail lines unposted, so that no level row is cut off from its
// line. The posting's own messages (retry questions, the posting error form) are shown on the
// way; the result carries the first error for the caller's error list. Never raises.
[[nodiscard]] EsitoPosting RiaggiornaMovimento(int16_t piAnnoRegMov, int32_t plNumRegMov, bool pbConForm,
                                               bool pbDisaggiorna, QString &psChiaveLock, bool pbSenzaVecchie);
