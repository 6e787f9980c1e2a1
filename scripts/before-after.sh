#!/usr/bin/env bash
# Makes docs/before-after.png: the gold set as a JPEG coloured as it is, and
# after the clean-up `tintaro --add` gives it; a coloured picture and a
# photograph, and the pages made of them. Needs ./test.sh's build (build-tests/).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build-tests --target before_after -j2 >/dev/null
./build-tests/tests/before_after docs/before-after.png
echo "Wrote docs/before-after.png"
