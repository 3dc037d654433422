#pragma once
// The floor's limit on PostgreSQL: the same statements through libpq in pipeline mode, each
// transaction's BEGIN, statements and COMMIT sent together and their results read back
// together: one round trip a transaction.
#include "pavimento.h"
#include "scratchdb.h"

// Runs the plan in `transazioni` transactions on the database `nomeDb` of the server; the
// seconds it took. Raises on any failure.
double eseguiPavimentoInPipeline(const PgServer &server, const QString &nomeDb, const PianoPavimento &piano,
                                 long long transazioni);
