#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quillmark need.
# Idempotent: the package lists are only refreshed when something is missing.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  # run
  libqt6svg6 qt6-image-formats-plugins qt6-qpa-plugins fonts-dejavu-core fonts-liberation2
  # print
  cups cups-client cups-bsd printer-driver-cups-pdf libcups2-dev
  # tests: headless display, PDF inspection, screenshots, desktop files
  xvfb xauth poppler-utils imagemagick desktop-file-utils appstream
  # benchmark: a small window manager for start-up on an X11 display
  matchbox-window-manager
  # fuzzing and sanitizers
  clang libclang-rt-14-dev
  # packaging
  dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
