#!/usr/bin/env bash
# Builds the benchmarks and prints the median of five runs of each, with the time per item
# where a benchmark counts items (for the descriptions: microseconds per term).
# Usage: scripts/bench.sh [--all] [REGEX]   (REGEX selects benchmarks, as --benchmark_filter
# does). With --all the same run then prints the load run's figures (scripts/load.sh, 20
# sessions, 30 s: saves per database, statements and prepares per save, lock waits) and the
# shell's timings (bench/shell_timing.sh: moving to the next term), so that every figure of the
# README's performance table comes from one run.
set -euo pipefail
cd "$(dirname "$0")/.."
all=no
if [[ ${1:-} == --all ]]; then
    all=yes
    shift
fi
filter="${1:-.}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
benches=(rules_bench preview_bench editor_bench storage_bench preview_panel_bench)
built=()
for bench in "${benches[@]}"; do
    if cmake --build build --target "$bench" >/dev/null 2>&1; then built+=("$bench"); fi
done
export QT_QPA_PLATFORM=offscreen
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)," \
    "load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-44s %14s %14s %16s\n' benchmark "real (median)" "cpu (median)" "per item (cpu)"
for bench in "${built[@]}"; do
    json="$(mktemp)"
    if ! "build/bench/$bench" --benchmark_filter="$filter" --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true --benchmark_format=json >"$json" 2>/dev/null; then
        echo "$bench: failed" >&2
        rm -f "$json"
        continue
    fi
    if ! grep -q '"run_name"' "$json"; then  # no benchmark of this binary matches
        rm -f "$json"
        continue
    fi
    python3 - "$json" <<'EOF'
import json, sys

def shown(value, unit):
    return f"{value:.0f} {unit}" if value >= 100 else f"{value:.3g} {unit}"

for row in json.load(open(sys.argv[1]))["benchmarks"]:
    if row.get("aggregate_name") != "median":
        continue
    per_item = ""
    if row.get("items_per_second"):
        micro = 1e6 / row["items_per_second"]
        per_item = f"{micro:.3g} us" if micro >= 0.1 else f"{micro * 1000:.3g} ns"
    print(f"{row['run_name']:<44} {shown(row['real_time'], row['time_unit']):>14} "
          f"{shown(row['cpu_time'], row['time_unit']):>14} {per_item:>16}")
EOF
    rm -f "$json"
done
if [[ $all == yes ]]; then
    echo "== load run"
    scripts/load.sh --seconds 30 --sessions 20 || echo "load run: an audit failed" >&2
    if cmake --build build --target condpag-shell >/dev/null 2>&1; then
        echo "== shell"
        bench/shell_timing.sh
    fi
fi
