#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and the address and undefined-behaviour
# sanitizers in build-fuzz/, then runs each for a bounded time (default 30 s):
#   ./fuzz.sh [seconds]
# Each target starts from its committed seeds in fuzz/corpus/<target>/; inputs it
# finds go to build-fuzz/corpus/<target>/, crashes to build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")"
: "${TINTARO_AGAIN:=./fuzz.sh}"
export TINTARO_AGAIN
# ccache shares compiled objects between clones of the project: paths are
# hashed relative to the clone, so a fresh clone on a machine that built one
# before compiles little.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true

seconds=${1:-30}
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds < 1)); then
    echo "usage: $0 [seconds]" >&2
    exit 2
fi
started=$(date +%s)

# The same packages scripts/setup.sh --tests installs: under ./test.sh none is missing.
scripts/install-packages.sh build-essential cmake qt6-base-dev clang libclang-rt-14-dev

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTINTARO_BUILD_FUZZ=ON -DTINTARO_BUILD_APP=OFF -DTINTARO_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
targets=(switch_line_fuzzer picture_load_fuzzer flood_fill_fuzzer)
cmake --build build-fuzz -j2 --target "${targets[@]}"
built=$(date +%s)

export QT_QPA_PLATFORM=offscreen
# Leaks in Qt's own caches (plugin loaders, fonts) are not ours to chase here.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
for target in "${targets[@]}"; do
    mkdir -p "build-fuzz/corpus/$target" build-fuzz/artifacts
    echo "== $target: ${seconds} s"
    if ! "./build-fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 \
        -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$target-" \
        "build-fuzz/corpus/$target" "fuzz/corpus/$target" \
        >"build-fuzz/$target.log" 2>&1; then
        failed+=("$target")
        tail -n 40 "build-fuzz/$target.log"
    fi
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' \
        "build-fuzz/$target.log" || true
done

finished=$(date +%s)
echo "fuzz: build $((built - started)) s, runs $((finished - built)) s, total $((finished - started)) s"
if ((${#failed[@]})); then
    echo "fuzz: FAILED: ${failed[*]} (inputs in build-fuzz/artifacts/)"
    exit 1
fi
echo "fuzz: all targets ran clean"
