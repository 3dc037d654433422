#!/usr/bin/env bash
# Sets up and runs the program against a demo company database (SQLite) under the
# stand-in menu server. Everything it makes goes into ./demo.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build

mkdir -p demo
build/tools/crea_ditta_demo demo/ditta.db
build/tools/prepara_demo demo build/src/app/EvasOrd demo/ditta.db
rm -f demo/giornale.txt

# Without a display the server and the program run on Qt's offscreen platform.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  export QT_QPA_PLATFORM=offscreen
  echo "Nessun display: il programma gira senza finestre visibili."
fi
echo "Comandi al programma, uno per riga: fine, attiva DEMO, preppassaa DEMO, esiste ..."

# The server starts the program; once its start-up is over (its last question is the price
# display restriction) it gets "attiva" for its launch request, then what is typed here.
comandi() {
  for _ in $(seq 600); do
    grep -q 'DisabTermVisPrz' demo/giornale.txt 2>/dev/null && break
    sleep 0.1
  done
  echo "attiva DEMO"
  exec cat
}
rm -f demo/comandi.fifo
mkfifo demo/comandi.fifo
comandi <&0 >demo/comandi.fifo &
alimentatore=$!
build/tools/servermenu demo/servermenu.ini <demo/comandi.fifo && esito=0 || esito=$?
kill "$alimentatore" 2>/dev/null || true
rm -f demo/comandi.fifo
echo "Giornale del server menu: demo/giornale.txt"
exit "$esito"
