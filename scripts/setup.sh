#!/usr/bin/env bash
# Installs what is missing on a Debian 12 machine, then configures and builds.
#   scripts/setup.sh [BUILD_DIR] [extra cmake arguments...]
# MC_EXTRA_PACKAGES (blank-separated) adds Debian packages to install.
# Runs apt-get as root, or through sudo otherwise. Nothing is downloaded
# except Debian packages.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
shift || true

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-image-formats-plugins
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth openbox xdotool x11-utils imagemagick fonts-dejavu-core
  shared-mime-info desktop-file-utils appstream xdg-utils
  libglib2.0-bin gsettings-desktop-schemas dbus-x11
  feh xwallpaper
  clang libclang-rt-14-dev
)
read -r -a extra <<< "${MC_EXTRA_PACKAGES:-}"
packages+=("${extra[@]}")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

launcher=()
# Paths below the checkout are hashed relative to it (and the working folder
# not at all), so another checkout of the same sources hits the same cache.
command -v ccache >/dev/null &&
  launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_BASEDIR=$here;CCACHE_NOHASHDIR=1;ccache")
cmake -S "$here" -B "$build" -G Ninja "${launcher[@]}" "$@" >/dev/null
cmake --build "$build" -j2
