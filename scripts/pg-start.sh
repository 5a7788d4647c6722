#!/usr/bin/env bash
# Sourced by scripts/test.sh: starts a throw-away PostgreSQL cluster for the server-backed suites
# and exports CONDPAG_PG (an ODBC connection string). pg_stop stops and removes it. The server
# refuses to run as root, so it runs as the postgres user that the Debian package creates.
# It listens on 127.0.0.1 and on a socket in its own temp folder only.
# Without the server binaries or the ODBC driver nothing happens and the server suites skip.

pg_stop() { :; }
pg_bin=/usr/lib/postgresql/15/bin
pg_driver=/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so
if [[ -x $pg_bin/initdb && -f $pg_driver ]] && id postgres >/dev/null 2>&1; then
    pg_dir=$(mktemp -d /tmp/condpag-pg.XXXXXX)
    chown postgres "$pg_dir" 2>/dev/null || true
    as_pg() { if [[ $(id -u) -eq 0 ]]; then su postgres -s /bin/bash -c "cd /tmp && $*"; else bash -c "$*"; fi; }
    pg_started=no
    if as_pg "$pg_bin/initdb -D $pg_dir/data -A trust -U postgres -E UTF8 >$pg_dir/initdb.log 2>&1"; then
        # A port taken by someone else makes the start fail: try a few.
        for _ in 1 2 3 4 5; do
            pg_port=$((20000 + RANDOM % 20000))
            if as_pg "$pg_bin/pg_ctl -D $pg_dir/data -l $pg_dir/server.log -w -o \"-c listen_addresses=127.0.0.1 -p $pg_port -k $pg_dir -c fsync=off\" start >/dev/null 2>&1"; then
                pg_started=yes
                break
            fi
        done
    fi
    if [[ $pg_started == yes ]] && as_pg "$pg_bin/createdb -h 127.0.0.1 -p $pg_port -U postgres condpag"; then
        export CONDPAG_PG="odbc:DRIVER=$pg_driver;Servername=127.0.0.1;Port=$pg_port;Database=condpag;Username=postgres;Password=;"
        echo "PostgreSQL test server on 127.0.0.1:$pg_port"
        pg_stop() {
            as_pg "$pg_bin/pg_ctl -D $pg_dir/data -m immediate stop >/dev/null 2>&1" || true
            rm -rf "$pg_dir"
            unset CONDPAG_PG
        }
    else
        echo "PostgreSQL test server did not start; server suites are skipped" >&2
        cat "$pg_dir"/*.log >&2 2>/dev/null || true
        [[ $pg_started == yes ]] && { as_pg "$pg_bin/pg_ctl -D $pg_dir/data -m immediate stop >/dev/null 2>&1" || true; }
        rm -rf "$pg_dir"
    fi
fi
true
