#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cd build
# xvfb-run gives the end-to-end tier a display; the other tiers need none.
xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure -j2 "$@"
