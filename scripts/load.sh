#!/usr/bin/env bash
# Load run: parallel editor sessions against a throw-away PostgreSQL server, then the same run on
# a SQLite file (file locking) for comparison. Prints operations per second, the 99th-percentile
# save latency and the audit of what was stored. Never part of CI.
#   scripts/load.sh [--seconds 60] [--sessions 20]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=60
sessions=20
while [[ $# -gt 0 ]]; do
    case $1 in
        --seconds) seconds=$2; shift 2 ;;
        --sessions) sessions=$2; shift 2 ;;
        *) echo "usage: scripts/load.sh [--seconds N] [--sessions N]" >&2; exit 2 ;;
    esac
done
build=${CONDPAG_LOAD_BUILD:-build-load}
cmake -S . -B "$build" -G Ninja -DCONDPAG_WITH_QT=OFF -DCONDPAG_WITH_BENCH=ON >/dev/null
ninja -C "$build" -j2 condpag_load
tool=$build/bench/load/condpag_load

status=0
# shellcheck disable=SC1091
source scripts/pg-start.sh
trap pg_stop EXIT
if [[ -n ${CONDPAG_PG:-} ]]; then
    echo "== PostgreSQL through ODBC: $sessions sessions, $seconds s"
    "$tool" --db "$CONDPAG_PG" --sessions "$sessions" --seconds "$seconds" || status=1
else
    echo "== PostgreSQL: no server could be started, skipped"
fi
folder=$(mktemp -d /tmp/condpag-load-sqlite.XXXXXX)
echo "== SQLite file: $sessions sessions, $seconds s"
"$tool" --db "sqlite:$folder/load.db" --sessions "$sessions" --seconds "$seconds" || status=1
rm -rf "$folder"
exit $status
