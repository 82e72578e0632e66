#!/usr/bin/env bash
# Every test of the project: the unit tests on Linux, and both Windows builds
# of Setup.exe with the checks of the executable files themselves.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh

for preset in host windows-x64 windows-x86; do
  echo "== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
