#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test through ctest. A throw-away PostgreSQL
# server is started for the server-backed suites when the machine has one.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
if [[ -x scripts/pg-start.sh ]] || [[ -f scripts/pg-start.sh ]]; then
    # shellcheck disable=SC1091
    source scripts/pg-start.sh
    trap pg_stop EXIT
fi
ctest --test-dir build --output-on-failure -j "$(nproc)"
