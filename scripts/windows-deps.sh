#!/usr/bin/env bash
# Cross-builds the libraries the Windows build of Tintaro links, from Debian's
# own source packages (apt checks their checksums): Qt's base (Core, Gui,
# Widgets, Print Support, Network, Test, the Windows platform plugin, the GIF,
# JPEG and ICO readers), OpenCV's core and imgproc, giflib and libsndfile.
# Everything goes into one prefix in a cache outside the clone, named after a
# hash of the toolchain file, so a second run and every clone on the machine
# reuse it. Each step leaves a stamp named after a hash of its own recipe: a
# run cut short goes on from the step it stopped in, and a changed recipe
# builds that step again, not the hour of the others.
#   scripts/windows-deps.sh          builds what is missing; prints each step's time
#   scripts/windows-deps.sh --prefix prints where the prefix is, builds nothing
# About 25 minutes on 2 cores the first time (Qt alone some 19), 4 GB.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
toolchain=$root/cmake/windows-toolchain.cmake
hash=$(sha1sum <"$toolchain" | cut -c1-12)
cache=${TINTARO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tintaro}/windows-$hash
prefix=$cache/prefix
if [ "${1:-}" = --prefix ]; then
  echo "$prefix"
  exit 0
fi
jobs=$(nproc)
export TINTARO_WINDOWS_PREFIX=$prefix
mkdir -p "$cache/src" "$cache/build" "$cache/stamps" "$prefix"

scripts/install-packages.sh g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
  binutils-mingw-w64-x86-64 libz-mingw-w64-dev mingw-w64-x86-64-dev cmake ninja-build \
  pkg-config dpkg-dev perl python3 qt6-base-dev qt6-base-dev-tools

# apt-get source needs deb-src entries: the same mirrors and suites the machine
# already installs from.
sources_entry() {
  local list=/etc/apt/sources.list.d/tintaro-deb-src.sources
  [ -f $list ] && return 0
  grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/ && return 0
  local as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  sed -n '/^Types: deb$/,/^$/p' /etc/apt/sources.list.d/debian.sources |
    sed 's/^Types: deb$/Types: deb-src/' | "${as_root[@]}" tee $list >/dev/null
  "${as_root[@]}" apt-get update -qq
}

# Runs one step once and prints how long it took.
step() {
  local name=$1 started=$SECONDS stamp
  shift
  stamp=$cache/stamps/$name-$( (declare -f "$1" cross_cmake source_of) | sha1sum | cut -c1-12)
  if [ -f "$stamp" ]; then
    echo "== $name: already built"
    return 0
  fi
  echo "== $name"
  "$@"
  touch "$stamp"
  echo "== $name: $((SECONDS - started)) s"
}

# The unpacked source of a Debian source package, Debian's patches applied.
source_of() {
  local package=$1 dir
  dir=$(find "$cache/src" -maxdepth 1 -mindepth 1 -type d -name "$package-*" | head -n1)
  if [ -z "$dir" ]; then
    (cd "$cache/src" && apt-get source -qq "$package" >/dev/null)
    dir=$(find "$cache/src" -maxdepth 1 -mindepth 1 -type d -name "$package-*" | head -n1)
  fi
  echo "$dir"
}

cross_cmake() {
  cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" "$@" >/dev/null
}

fetch() {
  sources_entry
  local package
  for package in qt6-base opencv giflib libsndfile; do
    echo "$package: $(source_of $package)"
  done
}

giflib() {
  local src out=$cache/build/giflib
  src=$(source_of giflib)
  rm -rf "$out" && mkdir -p "$out"
  local file
  for file in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
    x86_64-w64-mingw32-gcc-posix -O2 -c "$src/$file.c" -o "$out/$file.o"
  done
  x86_64-w64-mingw32-ar rcs "$out/libgif.a" "$out"/*.o
  install -D -m644 "$out/libgif.a" "$prefix/lib/libgif.a"
  install -D -m644 "$src/gif_lib.h" "$prefix/include/gif_lib.h"
}

sndfile() {
  local src out=$cache/build/sndfile
  src=$(source_of libsndfile)
  rm -rf "$out"
  # WAV is all Tintaro reads and writes: no codec libraries.
  cross_cmake -S "$src" -B "$out" -DBUILD_SHARED_LIBS=ON -DBUILD_PROGRAMS=OFF \
    -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF \
    -DENABLE_CPACK=OFF -DINSTALL_PKGCONFIG_MODULE=ON -DINSTALL_MANPAGES=OFF
  cmake --build "$out" -j"$jobs" >/dev/null
  cmake --install "$out" >/dev/null
}

opencv() {
  local src out=$cache/build/opencv
  src=$(source_of opencv)
  rm -rf "$out"
  # Only the core and imgproc modules; pictures are read by Qt, so none of
  # OpenCV's own image libraries.
  local off=(JPEG PNG TIFF WEBP OPENJPEG JASPER OPENEXR QUIRC ITT IPP OPENCL PROTOBUF ADE
    LAPACK EIGEN FFMPEG GSTREAMER DSHOW MSMF WIN32UI VTK 1394 CAROTENE IMGCODEC_HDR
    IMGCODEC_SUNRASTER IMGCODEC_PXM IMGCODEC_PFM OPENVX VA VA_INTEL GTK QT)
  local flags=() name
  for name in "${off[@]}"; do flags+=("-DWITH_$name=OFF"); done
  cross_cmake -S "$src" -B "$out" -DBUILD_LIST=core,imgproc -DBUILD_SHARED_LIBS=ON \
    -DBUILD_TESTS=OFF -DBUILD_PERF_TESTS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_opencv_apps=OFF \
    -DBUILD_DOCS=OFF -DBUILD_JAVA=OFF -DBUILD_opencv_python3=OFF -DBUILD_ZLIB=OFF \
    -DOPENCV_GENERATE_PKGCONFIG=OFF -DCPU_DISPATCH= -DENABLE_PRECOMPILED_HEADERS=OFF \
    "${flags[@]}"
  cmake --build "$out" -j"$jobs" >/dev/null
  cmake --install "$out" >/dev/null
}

qtbase() {
  local src out=$cache/build/qtbase
  src=$(source_of qt6-base)
  # Kept when a run is cut short: the next one configures it again and goes on.
  # Debian's own Qt 6.4 runs moc, rcc and uic on the build machine. Left out:
  # what Tintaro does not use, and what this tarball cannot build for MinGW
  # (the tablet support wants headers Debian drops; with Direct2D off no
  # DirectWrite font engine is compiled, yet the plugin would link to one).
  local off=(opengl sql dbus direct2d directwrite directwrite3 freetype tabletevent vulkan
    xml concurrent ssl schannel sql_sqlite)
  local flags=() name
  for name in "${off[@]}"; do flags+=("-DFEATURE_$name=OFF"); done
  # With OpenGL off, 6.4.2's window code still asks the dynamic GL loader
  # whether it is software GL; without OpenGL it never is.
  sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
    "$src/src/plugins/platforms/windows/qwindowswindow.cpp"
  cross_cmake -S "$src" -B "$out" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DQT_BUILD_EXAMPLES=OFF \
    -DQT_BUILD_TESTS=OFF -DBUILD_SHARED_LIBS=ON "${flags[@]}"
  cmake --build "$out" -j"$jobs" >"$out/build.log" 2>&1 || { tail -n 40 "$out/build.log"; return 1; }
  cmake --install "$out" >/dev/null
}

started=$SECONDS
step fetch fetch
step giflib giflib
step libsndfile sndfile
step opencv opencv
step qtbase qtbase
# The builds are large and never needed again once installed.
rm -rf "$cache/build"
echo "== Windows dependencies in $prefix ($((SECONDS - started)) s)"
