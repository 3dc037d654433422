#!/usr/bin/env bash
# The full crash sweep, outside CI: evasord_run killed at N random instants (50 by default) on
# SQLite and on PostgreSQL, in a conversion into documents and in a cash sale, the database
# checked after each kill, after the refused run, after the recovery and after the run that
# fulfils the rest (tests/crash/test_crash.cpp).
#   tests/crash/crash-sweep.sh [kills] [seed]
# PostgreSQL: the server of EVASORD_PG_* when set, else a throw-away cluster started here.
set -euo pipefail
cd "$(dirname "$0")/../.."

uccisioni=${1:-50}
seme=${2:-$RANDOM}
cmake --build build --target test_crash evasord_run >/dev/null

if [ -z "${EVASORD_PG_HOST:-}" ]; then
  # shellcheck source=../../scripts/pg-throwaway.sh
  source scripts/pg-throwaway.sh
  pg_throwaway_start
  trap pg_throwaway_stop EXIT
fi

echo "crash-sweep: $uccisioni uccisioni per motore, seme $seme"
EVASORD_PG_REQUIRED=1 EVASORD_CRASH_UCCISIONI=$uccisioni EVASORD_CRASH_SEME=$seme \
  QT_QPA_PLATFORM=offscreen build/tests/crash/test_crash
