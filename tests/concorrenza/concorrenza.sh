#!/usr/bin/env bash
# The full form of the concurrency tests: 2 and 4 programs at once on overlapping, randomly
# drawn ranges of a larger company, many rounds, on SQLite and (with a server) PostgreSQL.
#
#   tests/concorrenza/concorrenza.sh [build folder] [rounds] [orders] [seed]
#
# Defaults: build, 10 rounds, 150 orders, seed 1. PostgreSQL runs when EVASORD_PG_* are set
# (source scripts/pg-throwaway.sh && pg_throwaway_start); otherwise only SQLite.
set -euo pipefail

cd "$(dirname "$0")/../.."
build=${1:-build}
export EVASORD_CONC_GIRI=${2:-10}
export EVASORD_CONC_ORDINI=${3:-150}
export EVASORD_CONC_SEME=${4:-1}
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

cmake --build "$build" --target test_concorrenza_evasione evasord_run
filtro='Engines/Concorrenza.*'
[ -n "${EVASORD_PG_HOST:-}" ] || filtro='Engines/Concorrenza.*/SQLite'

echo "concorrenza: $EVASORD_CONC_GIRI rounds of $EVASORD_CONC_ORDINI orders, seed $EVASORD_CONC_SEME"
log=$(mktemp)
start=$(date +%s)
set +e
"$build/tests/concorrenza/test_concorrenza_evasione" --gtest_filter="$filtro" >"$log" 2>&1
rc=$?
set -e
grep -E "gave up|^\[ +(OK|FAILED) +\]" "$log" || true
echo "concorrenza: $(grep -c "gave up" "$log") rounds, $(grep -E "gave up" "$log" | grep -vc ": 0 of") with a program that gave up;" \
     "$(( $(date +%s) - start )) s; full output in $log"
exit $rc
