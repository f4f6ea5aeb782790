#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quillmark need.
# Idempotent: the package lists are only refreshed when something is missing.
# Works on Debian 12 (bookworm) and 13 (trixie): names that differ between
# releases are looked up in the running system's package lists.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  # run
  qt6-image-formats-plugins qt6-qpa-plugins fonts-dejavu-core fonts-liberation2
  # print
  cups cups-client cups-bsd printer-driver-cups-pdf libcups2-dev
  # tests: headless display, PDF inspection, screenshots, desktop files, the package
  xvfb xauth poppler-utils imagemagick desktop-file-utils shared-mime-info appstream lintian
  # tests on native Wayland: a headless compositor, Qt's Wayland plug-in, a virtual keyboard, the
  # compositor's window tree, and the activation protocol for the test's own small client
  sway qt6-wayland wtype jq libwayland-dev libwayland-bin wayland-protocols
  # benchmark: a small window manager for start-up on an X11 display
  matchbox-window-manager
  # fuzzing and sanitizers (the clang runtime is added below)
  clang
  # packaging
  dpkg-dev file
)

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q '^install ok installed$'
}

# A package apt can install here (not only a name other packages provide).
available() {
  apt-cache policy "$1" 2>/dev/null | grep -q '^  Candidate: [^(]'
}

# The sanitizer and libFuzzer runtime of the default clang: the unversioned
# libclang-rt-dev where the release has it, else the one of clang's version.
clang_runtime() {
  if available libclang-rt-dev; then
    echo libclang-rt-dev
    return
  fi
  local version
  version="$(apt-cache show --no-all-versions clang 2>/dev/null |
    sed -n 's/^Depends:.*\bclang-\([0-9][0-9]*\)\b.*/\1/p' | head -n 1)"
  [ -n "$version" ] || { echo "install-deps: no clang in the package lists" >&2; exit 1; }
  echo "libclang-rt-$version-dev"
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
runtime_present=0
if dpkg-query -W -f='${Package} ${Status}\n' 'libclang-rt-*dev' 2>/dev/null |
  grep -q ' install ok installed$'; then
  runtime_present=1
fi

if [ ${#missing[@]} -eq 0 ] && [ $runtime_present -eq 1 ]; then
  echo "install-deps: all $((${#packages[@]} + 1)) packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
if [ $runtime_present -eq 0 ]; then missing+=("$(clang_runtime)"); fi
echo "install-deps: installing ${missing[*]}"
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
