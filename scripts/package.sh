#!/usr/bin/env bash
# Builds the Debian package build/tintaro_<version>_<arch>.deb from the
# program's release build (the one ./run.sh makes), shows what it holds and,
# when lintian is installed, what lintian finds. Install it with
#   sudo apt-get install ./build/tintaro_*.deb
# scripts/package.sh DIR packages another build folder (./test.sh uses
# build-tests/, so that nothing is compiled twice).
set -euo pipefail
cd "$(dirname "$0")/.."
: "${TINTARO_AGAIN:=scripts/package.sh}"
export TINTARO_AGAIN
dir=${1:-build}
# dpkg-shlibdeps reads the package's dependencies off the program's libraries.
scripts/install-packages.sh build-essential cmake dpkg-dev file

if [ ! -f "$dir/CMakeCache.txt" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # As ./run.sh configures it, so that neither rebuilds what the other built.
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINTARO_BUILD_TESTS=OFF \
    -DTINTARO_WERROR=OFF "${launcher[@]}" >/dev/null
fi
cmake --build "$dir" -j"$(nproc)" --target tintaro
rm -f "$dir"/tintaro_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/tintaro_*.deb)
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
if command -v lintian >/dev/null; then
  lintian --info --pedantic "$deb"
fi
echo "Built $deb"
