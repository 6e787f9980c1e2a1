#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: the normal
# build first, then the core and widget tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a short run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh --tests

jobs=$(nproc)
status=0

if command -v clang-tidy >/dev/null; then
  echo "== clang-tidy on src/ =="
  # The checks and their severity are in .clang-tidy; any finding fails.
  find src -name '*.cpp' -print0 | xargs -0 -P"$jobs" -n4 clang-tidy -p build --quiet \
    >build/clang-tidy.log 2>&1 || { grep -E 'error:|warning:' -A3 build/clang-tidy.log | head -n 60; status=1; }
fi

echo "== Tests =="
# No display is needed: widget tests use the offscreen platform, and each
# end-to-end test starts an X server of its own, so they run side by side.
(cd build && ctest --output-on-failure -j"$jobs" "$@") || status=1

echo "== Tests under sanitizers =="
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTINTARO_SANITIZE=ON >/dev/null
# Only what those tests need: their targets carry the tests' names.
targets=$(cd build && ctest -N -L 'core|widget' | awk '/Test +#/ {print $3}')
# shellcheck disable=SC2086
cmake --build build-sanitize -j"$jobs" --target $targets >build-sanitize/build.log 2>&1 ||
  { tail -n 40 build-sanitize/build.log; exit 1; }
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
(cd build-sanitize && ctest --output-on-failure -j"$jobs" -L 'core|widget' "$@") || status=1

if [ "${TINTARO_PACKAGE_TEST:-}" = 1 ]; then
  # Installs into /usr and removes it again, so only when asked, and as root.
  echo "== Debian package: build, install, start, remove =="
  (scripts/package.sh >/dev/null && apt-get install -y ./build/tintaro_*.deb >/dev/null &&
    test -f /usr/share/applications/es.tintaro.tintaro.desktop &&
    QT_QPA_PLATFORM=offscreen /usr/bin/tintaro --version && dpkg -r tintaro >/dev/null) ||
    status=1
fi

echo "== Fuzzing, 30 s a target =="
./fuzz.sh 30 || status=1

exit $status
