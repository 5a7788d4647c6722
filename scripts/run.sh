#!/usr/bin/env bash
# Installs what is needed, builds, and runs the main job on the embedded demo database.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
exec build/app/condpag list --db "${CONDPAG_DB:-build/demo.db}"
