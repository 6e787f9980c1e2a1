#!/usr/bin/env bash
# Builds Tintaro for 64-bit Windows with MinGW into build-windows/, against the
# libraries scripts/windows-deps.sh cross-built into its cache:
#   build-windows/Tintaro/                    the program folder: tintaro.exe, the DLLs
#                                             and Qt plugins it loads, Qt's Spanish
#                                             texts, the sample book and its files
#   build-windows/tintaro-<version>-windows.zip   that folder, zipped
#   scripts/windows.sh --test   also runs the core and import tests under Wine, and
#                               tintaro.exe under Wine on a private X server
# The asset generator runs here, so a build of it for this machine comes first
# (build-windows/host/).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
test=0
[ "${1:-}" = --test ] && test=1
jobs=$(nproc)

prefix=$(scripts/windows-deps.sh --prefix)
if [ ! -f "$prefix/lib/cmake/Qt6/Qt6Config.cmake" ]; then
  echo "Faltan las bibliotecas para Windows en $prefix: ejecuta antes scripts/windows-deps.sh" \
    "(la primera vez tarda cerca de una hora)." >&2
  exit 1
fi
packages=(zip nsis qt6-translations-l10n g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
((test)) && packages+=(wine wine64 xvfb xauth xdotool x11-utils xclip imagemagick)
scripts/install-packages.sh "${packages[@]}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# What the Linux build needs, for the generator (and the harness of the Wine test).
./scripts/setup.sh >/dev/null
host=build-windows/host
version=$(sed -n 's/^project(Tintaro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
installer=build-windows/tintaro-$version-setup.exe
host_targets=(tintaro_assetgen)
((test)) && host_targets+=(windows_e2e_test windows_setup_e2e_test)
cmake -S . -B $host -DCMAKE_BUILD_TYPE=Release -DTINTARO_BUILD_TESTS=$( ((test)) && echo ON || echo OFF) \
  -DTINTARO_WINDOWS_PROGRAM_DIR="$root/build-windows/Tintaro" \
  -DTINTARO_WINDOWS_SETUP="$root/$installer" "${launcher[@]}" >/dev/null
cmake --build $host -j"$jobs" --target "${host_targets[@]}"

cross=build-windows/cross
export TINTARO_WINDOWS_PREFIX=$prefix
# libsndfile is found through pkg-config: only its Windows build.
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig PKG_CONFIG_PATH=
tests=OFF
((test)) && tests=ON
cmake -S . -B $cross -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/windows-toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DTINTARO_HOST_ASSETGEN="$root/build-windows/host/assets/tintaro_assetgen" \
  -DTINTARO_BUILD_TESTS=$tests -DCMAKE_CROSSCOMPILING_EMULATOR=wine "${launcher[@]}" >/dev/null
cmake --build $cross -j"$jobs"

# --- The program folder ---------------------------------------------------------
folder=build-windows/Tintaro
rm -rf $folder
mkdir -p $folder/translations
cp -r $cross/bin/. $folder/
# Only what a family needs: no coloured copies a test left, no lock.
rm -f $folder/dibujos/*.bmp $folder/.tintaro.lock
for kind in platforms imageformats styles; do
  [ -d "$prefix/plugins/$kind" ] && cp -r "$prefix/plugins/$kind" $folder/
done
cp /usr/share/qt6/translations/qtbase_es.qm $folder/translations/
# Qt finds its plugins and texts beside the program, wherever the folder goes.
printf '[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n' >$folder/qt.conf

# Every DLL the program and its plugins load, found by reading their imports;
# the system's own DLLs are in none of these folders and stay out.
dll_dirs=("$prefix/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
copy_imports() {
  local file=$1 name dir
  for name in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
    [ -f "$folder/$name" ] && continue
    for dir in "${dll_dirs[@]}"; do
      if [ -f "$dir/$name" ]; then
        cp "$dir/$name" "$folder/"
        copy_imports "$folder/$name"
        break
      fi
    done
  done
}
while IFS= read -r -d '' binary; do copy_imports "$binary"; done < <(find $folder -name '*.exe' -print0 -o -name '*.dll' -print0)
x86_64-w64-mingw32-strip --strip-unneeded $folder/*.exe $folder/*.dll $folder/*/*.dll

rm -f build-windows/tintaro-"$version"-windows.zip
(cd build-windows && zip -qr tintaro-"$version"-windows.zip Tintaro)
echo "Programa para Windows: $folder ($(du -sh $folder | cut -f1)), build-windows/tintaro-$version-windows.zip"

# --- The setup program ---------------------------------------------------------------
# Installed, the program's own files go in datos\ beside it, read only; each
# user's book is made from them in %APPDATA%\Tintaro on the first start.
setup=build-windows/setup
stage=$setup/Tintaro
rm -rf $setup
mkdir -p $stage/datos
cp -r $folder/. $stage/
mv $stage/dibujos $stage/*.gif $stage/*.wav $stage/datos/
cp $cross/generated/icon.ico $stage/tintaro.ico
cp $cross/generated/setup-side.bmp $setup/
# What is installed, listed for the installer and, in reverse, the uninstaller.
list_installed() {
  local file dir
  : >$setup/files.nsh
  : >$setup/unfiles.nsh
  while read -r file; do
    file=${file#./}
    dir=$(dirname "$file")
    if [ "$dir" = . ]; then dir=""; else dir="\\${dir//\//\\}"; fi
    printf 'SetOutPath "$INSTDIR%s"\nFile "%s"\n' "$dir" "$root/$stage/$file" >>$setup/files.nsh
    printf 'Delete "$INSTDIR\\%s"\n' "${file//\//\\}" >>$setup/unfiles.nsh
  done < <(cd $stage && find . -type f | sort)
  while read -r dir; do
    dir=${dir#./}
    printf 'RMDir "$INSTDIR\\%s"\n' "${dir//\//\\}" >>$setup/unfiles.nsh
  done < <(cd $stage && find . -mindepth 1 -type d | sort -r)
}
list_installed
makensis -V2 -DVERSION="$version" -DFILES="$root/$stage" -DLICENSE="$root/LICENSE" \
  -DOUTFILE="$root/$installer" -DSIZE_KB="$(du -sk $stage | cut -f1)" packaging/tintaro.nsi
echo "Instalador: $installer ($(du -h $installer | cut -f1))"
((test)) || exit 0

# --- Under Wine -------------------------------------------------------------------
started=$SECONDS
export WINEPREFIX=$root/build-windows/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The test programs find Qt's and MinGW's DLLs through Wine's own search path.
WINEPATH=$(printf '%s;' "${dll_dirs[@]/#/Z:}")
export WINEPATH=${WINEPATH//\//\\}
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
# One persistent Wine server for each group of tests, instead of one started
# for each program; whatever wineboot or an earlier run left is ended first,
# for a second server will not start beside it.
new_server() {
  wineserver -k 2>/dev/null || true
  wineserver -w
  wineserver -p
}
trap 'wineserver -k || true' EXIT
new_server
# The first program on a new server starts Wine's own services, and a test
# started beside them was seen to hang at its end: they start here first.
wine cmd /c exit
status=0
if ! (cd $cross && ctest --output-on-failure -j"$jobs"); then
  status=1
  find $cross/tests -name '*.log' -exec grep -h -B1 -A6 '^FAIL!' {} + || true
fi
# On the server that ran the console tests, tintaro.exe's windows were seen
# not to show: the program's own tests get a new one.
new_server
(cd build-windows/host && ctest --output-on-failure -L windows) || status=1
echo "Pruebas en Wine: $((SECONDS - started)) s"
exit $status
