#!/usr/bin/env bash
# Installs the Debian packages Tintaro needs when they are missing, then
# configures and builds.
#   scripts/setup.sh           what building and running need; builds the program
#                              alone into build/ (the program folder is build/bin/)
#   scripts/setup.sh --tests   adds every tool any step of ./test.sh uses (fuzzing
#                              and the package check too) and builds the program
#                              and every test into build-tests/, warnings as errors
# Shared by run.sh and test.sh. Each has a folder of its own because the flags
# differ, so neither rebuilds what the other built.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache shares compiled objects between clones of the project: paths are
# hashed relative to the clone, so a fresh clone on a machine that built one
# before compiles little.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true

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
  clang-tidy clang-format
  clang libclang-rt-14-dev # the fuzz targets (fuzz.sh)
  dpkg-dev file lintian    # the Debian package, made and checked by the installed test
  cups-daemon cups-client poppler-utils # a private print server, its PDF sheets read back
  ccache # a test run in a fresh clone compiles little of what an earlier one did
)

tests=OFF
dir=build
if [ "${1:-}" = --tests ]; then
  tests=ON
  dir=build-tests
  packages+=("${test_packages[@]}")
fi
# One apt-get call for all of them; nothing later installs more.
scripts/install-packages.sh "${packages[@]}"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B $dir -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINTARO_BUILD_TESTS=$tests \
  -DTINTARO_WERROR=$tests "${launcher[@]}" >/dev/null
if [ $tests = ON ]; then
  cmake --build $dir -j"$(nproc)"
else
  cmake --build $dir -j"$(nproc)" --target tintaro
fi
