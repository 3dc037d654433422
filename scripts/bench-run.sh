#!/usr/bin/env bash
# The run benchmark against its write floor (bench/run), built in Release, on SQLite and on
# PostgreSQL: the server named by EVASORD_PG_* when set, otherwise a throw-away cluster started
# here. Arguments go to bench_run ("--ordini 1000" for one size). Not a test: it takes minutes.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-rel --target bench_run

# shellcheck source=pg-throwaway.sh
source scripts/pg-throwaway.sh
pg_server_or_throwaway bench-run

build-rel/bench/run/bench_run "$@"
