#!/usr/bin/env bash
# Times the host shell (offscreen): process start to the first painted window with a term shown,
# on the demo database and on a generated database of 10,000 terms (10 installments each);
# moving to the next term there (detail reload and repaint); peak resident memory.
set -euo pipefail
cd "$(dirname "$0")/.."
shell=${SHELL_BIN:-build/app/condpag-shell}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

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
run "$work/demo.db" 10

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
