#!/usr/bin/env bash
# Sets up and runs the program against a demo company database (SQLite) under the
# stand-in menu server. Everything it makes goes into ./demo.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build

mkdir -p demo
if [ -x build/tools/crea_ditta_demo ]; then
  build/tools/crea_ditta_demo demo/ditta.db
  echo "Demo company database: demo/ditta.db"
else
  echo "The demo company builder is not built yet."
fi
