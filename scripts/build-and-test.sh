#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
# A short fuzzing run of every reader of outside bytes, where clang is there.
if command -v clang++ >/dev/null; then
  bash scripts/fuzz.sh 30
fi
# Last, so that the run ends with the test summary.
QT_QPA_PLATFORM=offscreen ctest --preset default
