#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds and runs ctest.
#   scripts/test.sh              normal build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UBSan build in build-asan/
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ "${1:-}" = "--sanitize" ]; then
  build="$here/build-asan"
  "$here/scripts/setup.sh" "$build" -DMC_SANITIZE=ON -DMC_BUILD_BENCH=OFF
  # Leak checking stays off: LeakSanitizer's stop-the-world tracer now and
  # then crashes at exit while Qt's worker threads wind down.
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  build="$here/build"
  "$here/scripts/setup.sh" "$build"
fi
cd "$build"
ctest --output-on-failure -j2
