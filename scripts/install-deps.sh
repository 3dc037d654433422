#!/usr/bin/env bash
# Installs, with apt, every package the build, the tests, the demo and the benchmarks need
# (Debian 12). Quiet and quick when everything is already there.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-odbc libqt6sql6-psql
  libgl-dev
  unixodbc unixodbc-dev odbc-postgresql libpq-dev
  postgresql postgresql-contrib
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  sqlite3 libsqlite3-dev xvfb xdg-utils locales
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The tests read numbers under an Italian locale as well.
if ! locale -a 2>/dev/null | grep -qi '^it_IT\.utf-\?8$'; then
  echo "install-deps: generating it_IT.UTF-8"
  $SUDO sed -i 's/^# *\(it_IT.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^it_IT.UTF-8 UTF-8' /etc/locale.gen || echo 'it_IT.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
