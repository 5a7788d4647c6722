#!/usr/bin/env bash
# The build configurations beyond the default one of scripts/test.sh, each in its own folder:
#   build-release  g++ Release (-O3): everything compiles, warnings as errors
#   build-clang    clang++ Debug: everything compiles, warnings as errors
#   build-asan     clang++ with AddressSanitizer and UndefinedBehaviorSanitizer, no benchmarks:
#                  the whole ctest suite (Qt offscreen, PostgreSQL included), then the rules
#                  fuzzer for FUZZ_SECONDS (60) on the seed corpus rules/fuzz/corpus/
# Usage: bash scripts/check-configs.sh [release] [clang] [asan] [fuzz]   (all four when none named)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
steps=("$@")
((${#steps[@]})) || steps=(release clang asan fuzz)
jobs=$(nproc)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
clang_cxx=$(command -v clang++-14 || command -v clang++)
clang_c=$(command -v clang-14 || command -v clang)

# A report stops the program with an error, so the test that met it fails. The suppression
# files name only faults of system libraries, each with the reason.
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$root/scripts/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

note() { echo "== $* ($(date +%T))"; }

configure() {
    local dir=$1 cxx=$2 cc=$3
    shift 3
    cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_C_COMPILER="$cc" \
        "${launcher[@]}" "$@" >/dev/null
}

# The builds that only compile list their tests when ctest runs, not by running each test
# program at build time.
compile_only=(-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST)

step_release() {
    note "Release build with g++"
    configure build-release g++ gcc -DCMAKE_BUILD_TYPE=Release "${compile_only[@]}"
    cmake --build build-release -j "$jobs"
}

step_clang() {
    note "Debug build with clang"
    configure build-clang "$clang_cxx" "$clang_c" -DCMAKE_BUILD_TYPE=Debug "${compile_only[@]}"
    cmake --build build-clang -j "$jobs"
}

configure_asan() {
    configure build-asan "$clang_cxx" "$clang_c" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 \
        -DCONDPAG_SANITIZE=address,undefined -DCONDPAG_WITH_BENCH=OFF -DCONDPAG_WITH_FUZZ=ON
}

step_asan() {
    note "Sanitizer build with clang, and every test"
    configure_asan
    cmake --build build-asan -j "$jobs"
    (
        export QT_QPA_PLATFORM=offscreen
        # shellcheck disable=SC1091
        source scripts/pg-start.sh
        trap pg_stop EXIT
        ctest --test-dir build-asan --output-on-failure -j "$jobs"
    )
}

step_fuzz() {
    local seconds=${FUZZ_SECONDS:-60} found
    note "Rules fuzzer for ${seconds} s"
    configure_asan
    cmake --build build-asan -j "$jobs" --target rules_fuzz
    # New inputs go to a scratch folder: the corpus in the repo changes only by hand.
    found=$(mktemp -d)
    mkdir -p build-asan/fuzz-crashes
    if ! build-asan/rules/rules_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$root/build-asan/fuzz-crashes/" \
        "$found" rules/fuzz/corpus; then
        rm -rf "$found"
        echo "The rules fuzzer failed on an input kept in build-asan/fuzz-crashes/: copy it into" \
            "rules/fuzz/corpus/, where the rules_fuzz_corpus test replays it, and fix the fault." >&2
        return 1
    fi
    rm -rf "$found"
}

for step in "${steps[@]}"; do
    case $step in
    release | clang | asan | fuzz) "step_$step" ;;
    *)
        echo "unknown step: $step (release, clang, asan, fuzz)" >&2
        exit 2
        ;;
    esac
done
note "all configurations passed"
