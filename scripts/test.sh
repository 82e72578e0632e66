#!/usr/bin/env bash
# Every test of the project: the unit tests on Linux, and both Windows builds
# of Setup.exe with the checks of the executable files themselves.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

# --long: fuzz for ten minutes instead of half a minute.
fuzz_seconds=30
if [[ "${1:-}" == --long ]]; then
  fuzz_seconds=600
fi

scripts/install-deps.sh

# The machine is shared: two compile jobs at most unless told otherwise.
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-2}"

# host-asan: the same unit tests under AddressSanitizer and
# UndefinedBehaviorSanitizer; any finding fails the test that made it.
# Each stage stops the script at its first failure (set -e); the last line
# counts the stages that ran.
stages=0
for preset in host host-asan windows-x64 windows-x86; do
  echo "== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
  stages=$((stages + 1))
done

echo "== static analysis"
scripts/analyze.sh
stages=$((stages + 1))

echo "== fuzz"
scripts/fuzz.sh "$fuzz_seconds"
stages=$((stages + 1))

echo "test stages: $stages passed, 0 failed"
