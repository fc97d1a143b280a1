#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the million-entry list benchmark on SQLite and on a throw-away PostgreSQL cluster, started
# here on a free loopback port as an unprivileged user and removed afterwards.
# Usage: bench/list_scale.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
pg_bin=/usr/lib/postgresql/15/bin
dir=$(mktemp -d)
as_owner() { if [ "$(id -u)" = 0 ]; then setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env -- "$@"; else "$@"; fi; }
[ "$(id -u)" = 0 ] && chown nobody:nogroup "$dir"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cleanup() { as_owner "$pg_bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true; rm -rf "$dir"; }
trap cleanup EXIT
as_owner "$pg_bin/initdb" -D "$dir/data" -U bestenliste -A trust -E UTF8 --locale=C --no-sync >"$dir/setup.log"
# Synced commits, as a real server runs; the benchmark measures what an upload costs there.
as_owner "$pg_bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
    -o "-k $dir -p $port -c listen_addresses=127.0.0.1 -c shared_buffers=256MB" start >>"$dir/setup.log"
VORLANIX_BENCH_POSTGRESQL="postgresql://bestenliste@127.0.0.1:$port" \
    "$build/vorlanix_bench" --benchmark_filter=ListAtAMillion --benchmark_counters_tabular=true
