#!/usr/bin/env bash
# Installs the Debian packages Tintaro needs when they are missing, then
# configures and builds into build/.
#   scripts/setup.sh           what building and running need; builds the program alone
#   scripts/setup.sh --tests   adds the test tools and builds every test as well
# Shared by run.sh and test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

# Building and running the program.
packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libgl-dev
  libgif-dev libsndfile1-dev
  qt6-svg-dev qt6-pdf-dev qt6-image-formats-plugins libopencv-imgproc-dev
  qt6-translations-l10n # Qt's own dialogs and --help in Spanish
  fonts-liberation
)
# Only the tests use these.
test_packages=(
  libxcb1-dev # the intro test speaks to the X server itself
  xvfb xauth xdotool x11-utils xclip imagemagick strace openbox
  pulseaudio pulseaudio-utils
  cinnamon-settings-daemon # its csd-clipboard keeps the clipboard in the e2e tests
  desktop-file-utils appstream
  clang-tidy
)

tests=OFF
if [ "${1:-}" = --tests ]; then
  tests=ON
  packages+=("${test_packages[@]}")
fi
scripts/install-packages.sh "${packages[@]}"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINTARO_BUILD_TESTS=$tests \
  -DTINTARO_WERROR=$tests "${launcher[@]}" >/dev/null
if [ $tests = ON ]; then
  cmake --build build -j"$(nproc)"
else
  cmake --build build -j"$(nproc)" --target tintaro
fi
