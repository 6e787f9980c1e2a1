#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tintaro on the sample book.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
exec ./build/bin/tintaro "$@"
