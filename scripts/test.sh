#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite with ctest: unit
# tests, widget tests on Qt's offscreen platform and the end-to-end tests under
# Xvfb. In CI (CI set) or with --sanitizers it then runs the unit and widget
# tests again under AddressSanitizer with UndefinedBehaviorSanitizer, and under
# ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
jobs=$(nproc)

# The same release tree that run.sh and demo.sh build, so switching between
# them rebuilds nothing.
configure_tree build -DCMAKE_BUILD_TYPE=Release
cmake --build build
(cd build && ctest --output-on-failure -j"$jobs")

if [ -n "${CI:-}" ] || [ "${1:-}" = "--sanitizers" ]; then
  for sanitizer in address thread; do
    echo "== unit and widget tests under the $sanitizer sanitizer"
    configure_tree "build-$sanitizer" -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE="$sanitizer"
    cmake --build "build-$sanitizer"
    (cd "build-$sanitizer" &&
      ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/../scripts/tsan.supp" \
      ctest --output-on-failure -j"$jobs" -LE e2e)
  done
fi
