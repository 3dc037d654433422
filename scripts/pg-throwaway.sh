#!/usr/bin/env bash
# A throw-away PostgreSQL cluster on loopback for the tests, with an ODBC data source.
#   source scripts/pg-throwaway.sh && pg_throwaway_start   # exports EVASORD_PG_* and ODBCINI
#   pg_throwaway_stop
#   pg_server_or_throwaway NAME   # the server of EVASORD_PG_* when set, else a throw-away one
#                                 # stopped when the calling script exits
# As root the server runs as the postgres user (the server refuses root).

pg_throwaway_start() {
  local bindir
  bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  if [ -z "$bindir" ]; then
    echo "pg-throwaway: PostgreSQL server binaries not found" >&2
    return 1
  fi
  PG_THROWAWAY_DIR=$(mktemp -d /tmp/evasord-pg.XXXXXX)
  chmod 755 "$PG_THROWAWAY_DIR"
  local run=()
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres:postgres "$PG_THROWAWAY_DIR"
    run=(runuser -u postgres --)
  fi
  local port=${EVASORD_PG_PORT:-$((40000 + RANDOM % 20000))}
  local pwfile="$PG_THROWAWAY_DIR/pw"
  echo "evasord" > "$pwfile"
  [ "$(id -u)" -eq 0 ] && chown postgres "$pwfile"
  "${run[@]}" "$bindir/initdb" -D "$PG_THROWAWAY_DIR/data" -U evasord --pwfile="$pwfile" \
      -A scram-sha-256 -E UTF8 --locale=C.UTF-8 >/dev/null
  "${run[@]}" "$bindir/pg_ctl" -D "$PG_THROWAWAY_DIR/data" -l "$PG_THROWAWAY_DIR/log" -w \
      -o "-h 127.0.0.1 -p $port -k $PG_THROWAWAY_DIR -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
      start >/dev/null
  PG_THROWAWAY_RUN=("${run[@]}")
  PG_THROWAWAY_BIN=$bindir
  export PGPASSWORD=evasord
  # Every database made for a test comes from template1, so citext is there already.
  psql -h 127.0.0.1 -p "$port" -U evasord -d template1 -q -c "CREATE EXTENSION IF NOT EXISTS citext" >/dev/null
  cat > "$PG_THROWAWAY_DIR/odbc.ini" <<INI
[evasord_test]
Driver = PostgreSQL Unicode
Servername = 127.0.0.1
Port = $port
Database = postgres
INI
  export ODBCINI="$PG_THROWAWAY_DIR/odbc.ini"
  export EVASORD_PG_HOST=127.0.0.1 EVASORD_PG_PORT=$port EVASORD_PG_USER=evasord EVASORD_PG_PASSWORD=evasord
  export EVASORD_PG_DRIVER="PostgreSQL Unicode" EVASORD_PG_DSN=evasord_test
  echo "pg-throwaway: PostgreSQL on 127.0.0.1:$port ($PG_THROWAWAY_DIR)"
}

pg_throwaway_stop() {
  [ -n "${PG_THROWAWAY_DIR:-}" ] || return 0
  "${PG_THROWAWAY_RUN[@]}" "$PG_THROWAWAY_BIN/pg_ctl" -D "$PG_THROWAWAY_DIR/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$PG_THROWAWAY_DIR"
  PG_THROWAWAY_DIR=
  unset EVASORD_PG_HOST EVASORD_PG_PORT EVASORD_PG_USER EVASORD_PG_PASSWORD EVASORD_PG_DRIVER EVASORD_PG_DSN ODBCINI
}

pg_server_or_throwaway() {
  [ -z "${EVASORD_PG_HOST:-}" ] || return 0
  if pg_throwaway_start; then
    trap pg_throwaway_stop EXIT
  else
    echo "$1: no PostgreSQL server; PostgreSQL will be left out" >&2
  fi
}
