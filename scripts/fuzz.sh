#!/usr/bin/env bash
# Fuzzes the argument builder with libFuzzer for a while (30 seconds unless
# told otherwise) and prints how many inputs ran. Any broken property, any
# sanitizer finding or any crash fails it and leaves the input that did it in
# build/fuzz/artifacts/.
#
#   scripts/fuzz.sh            30 seconds
#   scripts/fuzz.sh 3600       an hour
#
# What the fuzzer learns is kept in build/fuzz/corpus/ and read again by the
# next run; the seeds in tests/fuzz/corpus/ are read every time.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
seconds="${1:-30}"

export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-2}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

work="$root/build/fuzz"
mkdir -p "$work/corpus" "$work/artifacts"
log="$work/fuzz_installer_arguments.log"
echo "fuzzing the argument builder for $seconds s (log: ${log#"$root/"})"
status=0
"$work/tests/fuzz/fuzz_installer_arguments" \
  -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
  -dict=tests/fuzz/installer_arguments.dict \
  -artifact_prefix="$work/artifacts/" \
  "$work/corpus" tests/fuzz/corpus >"$log" 2>&1 || status=$?

if ((status != 0)); then
  tail -n 40 "$log" >&2
  echo "FAILED: the fuzzer found an input that breaks the argument builder (status $status)" >&2
  exit 1
fi
stat() { sed -n "s/^stat::$1: *//p" "$log"; }
echo "fuzz: $(stat number_of_executed_units) inputs run in ${seconds} s ($(stat average_exec_per_sec) per second)," \
  "$(ls "$work/corpus" | wc -l) inputs in the corpus, $(sed -n 's/.*cov: \([0-9]*\).*/\1/p' "$log" | tail -n 1) edges covered; nothing found"
