#!/usr/bin/env bash
# Builds the Debian package build/tintaro_<version>_<arch>.deb from a release
# build and shows what it holds. Install it with
#   sudo apt-get install ./build/tintaro_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
# dpkg-shlibdeps reads the package's dependencies off the program's libraries.
scripts/install-packages.sh build-essential cmake dpkg-dev file

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target tintaro
rm -f build/tintaro_*.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/tintaro_*.deb)
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
echo "Built $deb"
