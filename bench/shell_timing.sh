#!/usr/bin/env bash
# Times the host shell: process start to the first painted window with a term shown, on the demo
# database and on a generated database of 10,000 terms (10 installments each); moving to the next
# term on both (detail reload until what changed is painted, and the same with the whole window
# painted again); peak resident memory. A real X window under Xvfb when it is installed, else
# Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
shell=${SHELL_BIN:-build/app/condpag-shell}
work=$(mktemp -d)
xvfb=""
trap '[[ -n $xvfb ]] && kill "$xvfb"; rm -rf "$work"' EXIT
if command -v Xvfb >/dev/null; then
    # One X server for every run, started before any timing begins.
    mkfifo "$work/display"
    Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xvfb=$!
    read -r number <"$work/display"
    export DISPLAY=":$number" QT_QPA_PLATFORM=xcb
else
    export QT_QPA_PLATFORM=offscreen
fi
echo "platform: $QT_QPA_PLATFORM"

run() {  # db, moves
    local start
    start=$(date +%s%3N)
    "$shell" --db "$1" --measure "$2" 2>/dev/null | while IFS= read -r line; do
        case "$line" in
            *_epoch_ms=*)
                name=${line%%_epoch_ms=*}
                echo "start_to_${name}_ms=$((${line#*=} - start))" ;;
            *) echo "$line" ;;
        esac
    done
}

echo "== demo database"
"$shell" --demo --db "$work/demo.db" --measure 0 >/dev/null 2>&1 || true  # creates the file
run "$work/demo.db" 200

echo "== 10,000 terms"
cp "$work/demo.db" "$work/large.db"
sqlite3 "$work/large.db" <<'SQL'
BEGIN;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 9999)
INSERT INTO CG62_CONDPAGDES (CG62_CODPAG, CG62_DESCPAG, CG62_FLGDESC)
SELECT printf('T%05d', i), 'Ri.Ba. generata ' || i, 0 FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 9999),
     p(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM p WHERE k < 10)
INSERT INTO CG63_CONDPAGDET (CG63_CODPAG_CG62, CG63_PROG, CG63_TIPOEFF, CG63_INDTIPODECOR,
    CG63_GGDECOR, CG63_INDDATARIF, CG63_FLGFRPERCIMP, CG63_PERCIMP, CG63_FLGFRPERCIVA,
    CG63_PERCIVA)
SELECT printf('T%05d', i), k, 2, 1, 30 * k, 5, 1, 10.0, 1, 10.0 FROM n, p;
COMMIT;
SQL
run "$work/large.db" 200
