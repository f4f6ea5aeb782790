#!/usr/bin/env bash
# `cmake --install` into a staging root puts every file in its place and, with
# DESTDIR set, leaves the system's shared settings folder alone.
# check-install.sh <build dir> <app id> "<icon sizes>"
set -euo pipefail
build="$1" id="$2" sizes="$3"
source "$(dirname "$0")/expected-files.sh"

if ! command -v file >/dev/null; then
    echo "SKIP: the file command is not installed"
    exit 77
fi
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$stage.log" 2>&1 || {
    cat "$stage.log"; rm -f "$stage.log"; exit 1; }
log="$(cat "$stage.log")"; rm -f "$stage.log"
echo "$log"

expect_installed "$stage" "$id" "$sizes"
if [ -e "$stage/var/lib/Quillmark" ]; then
    echo "FAIL: the shared settings folder was staged into the installation"
    exit 1
fi
if ! grep -q "not created: DESTDIR is set" <<<"$log"; then
    echo "FAIL: the install step did not say why it left the shared folder alone"
    exit 1
fi
echo "PASS: installed layout"
