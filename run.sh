#!/usr/bin/env bash
# Installs what is missing, builds the program into build/ (the program folder
# is build/bin/), and starts Tintaro on the sample book.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
exec ./build/bin/tintaro "$@"
