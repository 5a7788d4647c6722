#!/usr/bin/env bash
# A PostgreSQL server of one test's own, which the test may stop and start again without
# disturbing the server that the other suites share.
#   pg-private.sh start DIR   makes a cluster in DIR (a new, empty folder), starts it and prints
#                             its ODBC connection string; prints nothing when it cannot
#   pg-private.sh stop DIR    stops it at once, as a crash would (sessions are cut, nothing
#                             uncommitted survives)
#   pg-private.sh resume DIR  starts it again on the same port
#   pg-private.sh remove DIR  stops it and removes DIR
# The server refuses to run as root, so it runs as the postgres user of the Debian package.
set -u
action=${1:-}
dir=${2:-}
pg_bin=/usr/lib/postgresql/15/bin
pg_driver=/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so
[[ -n $dir && -x $pg_bin/initdb && -f $pg_driver ]] || exit 1
id postgres >/dev/null 2>&1 || exit 1
as_pg() { if [[ $(id -u) -eq 0 ]]; then su postgres -s /bin/bash -c "cd /tmp && $*"; else bash -c "$*"; fi; }
start_on() {
    as_pg "$pg_bin/pg_ctl -D $dir/data -l $dir/server.log -w -o \"-c listen_addresses=127.0.0.1 -p $1 -k $dir -c fsync=off\" start >/dev/null 2>&1"
}
case $action in
start)
    mkdir -p "$dir" && chown postgres "$dir" 2>/dev/null
    as_pg "$pg_bin/initdb -D $dir/data -A trust -U postgres -E UTF8 >$dir/initdb.log 2>&1" || exit 1
    for _ in 1 2 3 4 5; do
        port=$((20000 + RANDOM % 20000))
        if start_on "$port"; then
            echo "$port" >"$dir/port"
            as_pg "$pg_bin/createdb -h 127.0.0.1 -p $port -U postgres condpag" || exit 1
            echo "odbc:DRIVER=$pg_driver;Servername=127.0.0.1;Port=$port;Database=condpag;Username=postgres;Password=;"
            exit 0
        fi
    done
    exit 1
    ;;
stop) as_pg "$pg_bin/pg_ctl -D $dir/data -m immediate stop >/dev/null 2>&1" ;;
resume) start_on "$(cat "$dir/port")" ;;
remove)
    as_pg "$pg_bin/pg_ctl -D $dir/data -m immediate stop >/dev/null 2>&1"
    rm -rf "$dir"
    ;;
*) exit 2 ;;
esac
