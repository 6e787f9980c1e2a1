#!/usr/bin/env bash
# Installs what is missing, builds into build-tests/ (warnings as errors; ./run.sh
# keeps its own build/), and runs every check headless: the formatting,
# clang-tidy, every test, the core and widget tests again under AddressSanitizer
# and UndefinedBehaviorSanitizer, then a short run of each fuzz target. Prints
# how long each phase took. Extra arguments go to the main ctest run.
set -euo pipefail
cd "$(dirname "$0")"
export TINTARO_AGAIN=./test.sh
# ccache shares compiled objects between clones of the project: paths are
# hashed relative to the clone, so a fresh clone on a machine that built one
# before compiles little.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true

jobs=$(nproc)
status=0
times=()

# Runs one phase and notes how long it took; a failing phase fails the run
# but the others still run.
phase() {
  local name=$1 started=$SECONDS
  shift
  echo "== $name =="
  "$@" || { status=1; echo "== $name: FAILED"; }
  times+=("$(printf '%-28s %4d s' "$name" $((SECONDS - started)))")
}

build_tests() {
  ./scripts/setup.sh --tests
}

format_check() {
  # The style is in .clang-format; any difference fails.
  find src tests bench fuzz assets \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run --Werror
}

# clang-tidy is the slowest check of all, so a file that passed is checked
# again only when it, a header under src/, .clang-tidy or clang-tidy itself
# changed. build-tests/clang-tidy.passed keeps the keys of those that passed.
tidy_one() {
  local key=$1 file=$2
  if clang-tidy -p build-tests --quiet "$file" >"build-tests/tidy/${key}.log" 2>&1; then
    echo "$key"
  else
    grep -E 'error:|warning:' -A3 "build-tests/tidy/${key}.log" | head -n 40 >&2
  fi
}
export -f tidy_one

clang_tidy() {
  local shared stamp=build-tests/clang-tidy.passed
  shared=$( (clang-tidy --version && cat .clang-tidy && find src -name '*.h' -print0 |
    sort -z | xargs -0 cat) | sha1sum | cut -c1-40)
  mkdir -p build-tests/tidy
  touch "$stamp"
  local -a keys=() todo=()
  local file key compiled
  # Only what this build compiles: the Windows side of each seam needs the
  # Windows headers, and the build that has them checks it.
  compiled=$(grep -o '"file": "[^"]*"' build-tests/compile_commands.json)
  while IFS= read -r -d '' file; do
    [[ $compiled == *"$PWD/$file\""* ]] || continue
    key=$(printf '%s %s %s' "$shared" "$file" "$(sha1sum <"$file")" | sha1sum | cut -c1-40)
    keys+=("$key")
    grep -qx "$key" "$stamp" || todo+=("$key" "$file")
  done < <(find src -name '*.cpp' -print0 | sort -z)
  echo "$((${#todo[@]} / 2)) of ${#keys[@]} files changed since they last passed"
  local passed
  passed=$( ( ((${#todo[@]})) && printf '%s\0' "${todo[@]}" |
    xargs -0 -n2 -P"$jobs" bash -c 'tidy_one "$@"' _) || true)
  # Keep only the keys of files as they are now.
  printf '%s\n' "$passed" | cat - "$stamp" | grep -xF -f <(printf '%s\n' "${keys[@]}") |
    sort -u >"$stamp.new" || true
  mv "$stamp.new" "$stamp"
  [ "$(wc -l <"$stamp")" -eq ${#keys[@]} ]
}

main_tests() {
  # No display is needed: widget tests use the offscreen platform, and each
  # end-to-end test starts an X server of its own, so they run side by side.
  # The full log stays in build-tests/Testing/Temporary/LastTest.log.
  (cd build-tests && ctest --output-on-failure -j"$jobs" "$@")
}

sanitizer_tests() {
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Line tables are enough for the sanitizers' reports, and much cheaper to
  # build than full debug information.
  cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1" \
    -DTINTARO_SANITIZE=ON "${launcher[@]}" >/dev/null || return 1
  # Only what those tests need: their targets carry the tests' names. Listed
  # in this folder, so the main run's log is left alone.
  local targets
  targets=$(cd build-sanitize && ctest -N -L 'core|widget' -FA '.*' | awk '/Test +#/ {print $3}')
  # shellcheck disable=SC2086
  cmake --build build-sanitize -j"$jobs" --target $targets >build-sanitize/build.log 2>&1 ||
    { tail -n 40 build-sanitize/build.log; return 1; }
  export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=0
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  (cd build-sanitize && ctest --output-on-failure -j"$jobs" -L 'core|widget' "$@")
}

# The Windows build and its tests under Wine, once scripts/windows-deps.sh has
# put the libraries in this machine's cache: building them takes an hour, too
# long for a test run.
windows_tier() {
  if [ ! -f "$(scripts/windows-deps.sh --prefix)/lib/cmake/Qt6/Qt6Config.cmake" ]; then
    echo "No pruebo la versión de Windows: faltan sus bibliotecas en la caché" \
      "(scripts/windows-deps.sh, después scripts/windows.sh --test)."
    return 0
  fi
  scripts/windows.sh --test
}

package_test() {
  # Installs into /usr and removes it again, so only when asked, and as root.
  scripts/package.sh build-tests >/dev/null &&
    apt-get install -y ./build-tests/tintaro_*.deb >/dev/null &&
    test -f /usr/share/applications/es.tintaro.tintaro.desktop &&
    QT_QPA_PLATFORM=offscreen /usr/bin/tintaro --version && dpkg -r tintaro >/dev/null
}

report() {
  echo "== Time of each phase =="
  printf '%s\n' "${times[@]}"
  echo "total                        $SECONDS s"
}

phase "Build" build_tests
# Nothing else means anything without the build.
[ $status = 0 ] || { report; exit 1; }
phase "Formatting (clang-format)" format_check
if command -v clang-tidy >/dev/null; then
  phase "clang-tidy on src/" clang_tidy
fi
phase "Tests" main_tests "$@"
phase "Tests under sanitizers" sanitizer_tests "$@"
if [ "${TINTARO_PACKAGE_TEST:-}" = 1 ]; then
  phase "Debian package" package_test
fi
phase "Fuzzing, 30 s a target" ./fuzz.sh 30
phase "Windows, under Wine" windows_tier

report
exit $status
