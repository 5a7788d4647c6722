#!/usr/bin/env bash
# Pictures of the editor on the demo database: one per tab (view status) and one per status
# (view, insert, search), in build/screenshots/. Needs a built shell (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
shell=${SHELL_BIN:-build/app/condpag-shell}
[ -x "$shell" ] || { echo "build the shell first: bash scripts/build.sh" >&2; exit 1; }
out=build/screenshots
mkdir -p "$out"
run() {
    if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
        xvfb-run -a "$shell" "$@"
    else
        QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$shell" "$@"
    fi
}
db="${CONDPAG_DB:-build/demo.db}"
# The demo database is made when missing; a database named by CONDPAG_DB must exist.
if [ -z "${CONDPAG_DB:-}" ] && [ ! -e "$db" ]; then run --demo --db "$db" --screenshot "$out/tab0.png"; fi
for tab in 0 1 2 3; do
    run --db "$db" --tab "$tab" --screenshot "$out/tab$tab.png"
done
for status in view insert search; do
    run --db "$db" --status "$status" --screenshot "$out/status-$status.png"
done
