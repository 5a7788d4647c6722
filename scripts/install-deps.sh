#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the window need. Safe to run again.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config git
    libgtest-dev libgmock-dev libbenchmark-dev
    libcli11-dev nlohmann-json3-dev
    libsqlite3-dev sqlite3
    unixodbc unixodbc-dev libsqliteodbc odbc-postgresql postgresql-15
    qt6-base-dev libgl-dev xvfb xauth fonts-dejavu-core
    poppler-utils libxml2-dev libxml2-utils
    clang libclang-rt-14-dev ccache
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
