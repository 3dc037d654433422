#!/usr/bin/env bash
# Builds the program and runs every test, on SQLite and on PostgreSQL.
# PostgreSQL: the server named by EVASORD_PG_HOST/EVASORD_PG_PORT/EVASORD_PG_USER/EVASORD_PG_PASSWORD
# when set, otherwise a throw-away cluster started here. With EVASORD_PG_REQUIRED=1 a
# PostgreSQL-backed test that cannot connect fails instead of skipping.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build

# shellcheck source=pg-throwaway.sh
source scripts/pg-throwaway.sh
pg_server_or_throwaway test

ctest --test-dir build --output-on-failure -j "$(nproc)" "$@"
