#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds and runs ctest.
#   scripts/test.sh              normal build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UBSan build in build-asan/
#   scripts/test.sh --desktops   the real desktops (KDE Plasma, Xfce, LXQt,
#                                sway, GNOME, Cinnamon, MATE) and the window on
#                                Wayland, each started headless by the tests;
#                                installs them first (build/)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
labels=(-LE desktops)
case "${1:-}" in
--sanitize)
  build="$here/build-asan"
  "$here/scripts/setup.sh" "$build" -DMC_SANITIZE=ON -DMC_BUILD_BENCH=OFF
  # Leak checking stays off: LeakSanitizer's stop-the-world tracer now and
  # then crashes at exit while Qt's worker threads wind down.
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ;;
--desktops)
  desktops=(
    plasma-desktop xfdesktop4 xfconf pcmanfm-qt sway swaybg grim qt6-wayland
    cinnamon-desktop-data mate-desktop-common dbus-x11 dconf-gsettings-backend
  )
  build="$here/build"
  MC_EXTRA_PACKAGES="${desktops[*]}" "$here/scripts/setup.sh" "$build"
  labels=(-L desktops)
  # A desktop missing here is a failure, not a skip.
  export MURALCRAFTER_DESKTOP_TESTS=required
  ;;
*)
  build="$here/build"
  "$here/scripts/setup.sh" "$build"
  ;;
esac
cd "$build"
ctest --output-on-failure -j2 "${labels[@]}"
