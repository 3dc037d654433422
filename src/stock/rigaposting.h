#pragma once
// One row of a posting pass in its own transaction, with the retry rule for record conflicts:
// an error rolls the row back first; a conflict (3260 data locked, 3197 data changed by
// another user) is retried at once from a new transaction, each attempt shown on the progress
// display, until the driver's automatic attempts are used up; then the user is asked whether
// to retry.
#include "apperror.h"

#include <QString>
#include <functional>
#include <optional>

// Why a row was not done.
struct RigaNonEseguita {
    AppError errore;
    bool conflitto = false; // a record conflict whose retry the user declined
};

// `passi` are the row's steps; they close the record sets they open, also when they fail.
// `disaggiorna`: the un-posting driver's count (10 attempts) rather than the posting driver's
// (9). `testoAvanzamento`: the pass's progress text, to which the attempt is added. Returns
// nullopt when the row was committed, else why it was not: the row's transaction is then rolled
// back, and the row stays as it was.
std::optional<RigaNonEseguita> EseguiRigaInTransazione(bool disaggiorna, const QString &testoAvanzamento,
                                                       const std::function<void()> &passi);

// The writes of `lavoro` together or not at all, outside the retry rule of the rows: in a
// transaction of its own a write also waits for another program's (a lone statement on a shared
// SQLite file may be refused at once), and data locked or changed by another program is tried
// again at once, silently, as many times as a row is. Any other error, or the last conflict,
// reaches the caller after the rollback.
void EseguiInTransazione(const std::function<void()> &lavoro);
