#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset, clang) and runs each for the given
# number of seconds on a scratch copy of its seed corpus in tests/data/fuzz.
# A finding stops the run: the input that broke a property is kept as
# build-fuzz/findings/<target>/crash-* for a regression test.
#
#   bash scripts/fuzz.sh [seconds-per-target]     (default 60)
#
# The mutation sequence is fixed (seed 1) so that a run, in CI too, finds the
# same thing twice; FUZZ_SEED=0 explores from a random seed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: $0 [seconds-per-target]" >&2
  exit 2
fi
if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found; install clang and its runtime (scripts/install-deps.sh) to fuzz" >&2
  exit 2
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build=build-fuzz
corpora=tests/data/fuzz
work="$build/fuzz-work"
findings="$build/findings"
rm -rf "$work"
mkdir -p "$work" "$findings"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

failed=()
passed=0
for corpus in "$corpora"/*/; do
  name="$(basename "$corpus")"
  fuzzer="$build/fuzz/${name}_fuzz"
  if [ ! -x "$fuzzer" ]; then
    echo "fuzz: no fuzzer for corpus $corpus" >&2
    failed+=("$name")
    continue
  fi
  cp -r "$corpus" "$work/$name"
  mkdir -p "$findings/$name"
  echo "fuzz: $name for ${seconds}s"
  # One job on one core; the other core stays for the machine.
  if "$fuzzer" "$work/$name" -max_total_time="$seconds" -seed="${FUZZ_SEED:-1}" -max_len=4096 -timeout=10 \
       -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/$name/" \
       >"$work/$name.log" 2>&1; then
    passed=$((passed + 1))
    grep -E '^stat::number_of_executed_units|^Done ' "$work/$name.log" | sed "s/^/fuzz: $name: /" || true
  else
    tail -n 40 "$work/$name.log" >&2
    echo "fuzz: $name found a problem; the input is in $findings/$name/" >&2
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: findings in ${failed[*]} (${passed} targets clean)" >&2
  exit 1
fi
echo "fuzz: every target (${passed}) ran ${seconds}s without a finding"
