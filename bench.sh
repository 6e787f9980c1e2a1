#!/usr/bin/env bash
# Builds the benchmarks in Release in build-bench/ and runs them all: the fill
# against OpenCV and memcpy, press to screen on the canvas widget, the large-book
# start-up, the pages' view of a large book, then adding pages. Installs the
# packages they need when missing.
# Extra arguments go to fill_bench (e.g. --benchmark_filter=maze).
set -euo pipefail
cd "$(dirname "$0")"
: "${TINTARO_AGAIN:=./bench.sh}"
export TINTARO_AGAIN
# ccache shares compiled objects between clones of the project: paths are
# hashed relative to the clone, so a fresh clone on a machine that built one
# before compiles little.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true

# The benchmarks build the windows too (press to screen), so Qt Widgets and
# Multimedia and libsndfile are needed as for the program.
scripts/install-packages.sh build-essential cmake pkg-config qt6-base-dev qt6-multimedia-dev \
    libsndfile1-dev libopencv-imgproc-dev libbenchmark-dev libgif-dev qt6-svg-dev qt6-pdf-dev \
    qt6-image-formats-plugins

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-bench -DTINTARO_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release \
    -DTINTARO_BUILD_TESTS=OFF -DTINTARO_BUILD_APP=OFF "${launcher[@]}"
cmake --build build-bench --target fill_bench press_bench book_bench import_bench session_bench \
    gallery_bench -j2

./build-bench/bench/fill_bench --benchmark_color=false "$@"

# Press to screen runs on the offscreen platform: no display needed.
QT_QPA_PLATFORM=offscreen ./build-bench/bench/press_bench --benchmark_color=false

# The pages' view of a 1,000-page book; fails when opening takes 200 ms or more.
QT_QPA_PLATFORM=offscreen ./build-bench/bench/gallery_bench --benchmark_color=false

# Start-up of a book of 30,000 drawings; fails when it takes 2 s of CPU time or more.
./build-bench/bench/book_bench --benchmark_color=false

# Keeping the page on show, and the undo histories of 50 pages.
./build-bench/bench/session_bench

# Adding an A4 scan; fails when it takes more than 1.5 s. Also prints the gold set's quality
# and, on real photographs and drawings fetched from Debian packages into a cache outside
# the clone, the import_real lines.
real_set=$(mktemp)
trap 'rm -f "$real_set"' EXIT
bench/real-pictures.sh >"$real_set" || echo "import_real: no real pictures fetched" >&2
TINTARO_REAL_SET=$real_set ./build-bench/bench/import_bench --benchmark_color=false
