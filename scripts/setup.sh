#!/usr/bin/env bash
# Installs the Debian packages Tintaro needs when they are missing, then
# configures and builds into build/. Shared by run.sh and test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libgl-dev libxcb1-dev
  libgif-dev libsndfile1-dev
  qt6-svg-dev qt6-pdf-dev qt6-image-formats-plugins libopencv-imgproc-dev
  xvfb xauth xdotool x11-utils xclip imagemagick strace openbox
  pulseaudio pulseaudio-utils
  cinnamon-settings-daemon # its csd-clipboard keeps the clipboard in the e2e tests
  fonts-liberation
  desktop-file-utils appstream
  cups-daemon cups-client poppler-utils # tests: a private print server, its PDF sheets read back
)

scripts/install-packages.sh "${packages[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
