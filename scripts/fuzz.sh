#!/usr/bin/env bash
# Builds the project reader's libFuzzer target with clang, ASan and UBSan,
# writes a seed corpus of real project files and runs the fuzzer.
#   scripts/fuzz.sh [SECONDS] [extra libFuzzer arguments...]   (default 600)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-fuzz"
seconds="${1:-600}"
shift || true

# The document tests write the seed corpus; MC_TEST_BUILD names a build
# that has them (default build/, set up when missing, which also installs
# clang and its fuzzer runtime).
tests="${MC_TEST_BUILD:-$here/build}"
if [ ! -x "$tests/tests/test_document" ] || ! command -v clang++ >/dev/null; then
  "$here/scripts/setup.sh" "$tests" >/dev/null
fi

seeds="$here/fuzz/corpus-run/seeds"
work="$here/fuzz/corpus-run/work"
mkdir -p "$seeds" "$work"
MC_FUZZ_SEED_DIR="$seeds" QT_QPA_PLATFORM=offscreen MURALCRAFTER_SCREEN=1024x768 \
  "$tests/tests/test_document" --gtest_filter='ProjectFormat.*' >/dev/null

cmake -S "$here" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMC_SANITIZE=ON -DMC_BUILD_FUZZ=ON -DMC_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" >/dev/null
cmake --build "$build" --target project_reader_fuzz -j2

# Inputs carry pictures after the project bytes, so they may be large; the
# fuzzer's length control (faster than its default) lets them grow towards
# -max_len as coverage levels off.

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
cd "$here/fuzz/corpus-run"
"$build/fuzz/project_reader_fuzz" "$work" "$seeds" \
  -max_total_time="$seconds" -jobs=1 -rss_limit_mb=2048 -timeout=10 -max_len=1048576 -len_control=20 "$@"
