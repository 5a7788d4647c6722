#!/usr/bin/env bash
# Installs what is needed, builds, and runs the main job on the embedded demo database.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
# build/demo.db is made with the demo data when missing; a database named by CONDPAG_DB must
# already hold the payment terms.
shell=(build/app/condpag-shell --db "${CONDPAG_DB:-build/demo.db}"); if [ -z "${CONDPAG_DB:-}" ] && [ ! -e build/demo.db ]; then shell+=(--demo); fi; if [ -n "${DISPLAY:-}" ]; then exec "${shell[@]}"; elif command -v xvfb-run >/dev/null; then exec xvfb-run -a "${shell[@]}" --screenshot build/condpag-window.png; else exec env QT_QPA_PLATFORM=offscreen "${shell[@]}" --screenshot build/condpag-window.png; fi
