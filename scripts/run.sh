#!/usr/bin/env bash
# Builds the program (installing what is missing) and starts it on the
# bundled sample project. Without a display the sample is rendered headless
# and the picture's path is printed.
#   scripts/run.sh [extra program arguments...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build"
"$here/scripts/setup.sh" "$build"
program="$build/src/muralcrafter"

# Project files keep absolute picture paths: the sample is written here.
"$program" --make-sample "$here/samples/"
sample="$here/samples/sample.mcr"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program" "$@" "$sample"
fi

out="$build/sample-render.png"
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$program" --render "$out" "$sample" "$@"
echo "No display: the sample project was rendered to $out"
