#!/usr/bin/env bash
# Builds the benchmarks in Release in build-bench/ and runs the fill benchmark, then
# the large-book start-up benchmark, then adding pages.
# Installs the packages they need when missing. Extra arguments go to fill_bench
# (e.g. --benchmark_filter=maze).
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-packages.sh build-essential cmake qt6-base-dev libopencv-imgproc-dev libbenchmark-dev \
    pkg-config libsndfile1-dev libgif-dev qt6-svg-dev qt6-pdf-dev qt6-image-formats-plugins

cmake -S . -B build-bench -DTINTARO_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release \
    -DTINTARO_BUILD_TESTS=OFF -DTINTARO_BUILD_APP=OFF
cmake --build build-bench --target fill_bench -j2
./build-bench/bench/fill_bench --benchmark_color=false "$@"

# Start-up of a book of 30,000 drawings; fails when it takes 2 s of CPU time or more.
cmake --build build-bench --target book_bench -j2
./build-bench/bench/book_bench --benchmark_color=false

# Adding an A4 scan; fails when it takes more than 1.5 s. Also prints the gold set's quality.
cmake --build build-bench --target import_bench -j2
./build-bench/bench/import_bench --benchmark_color=false
