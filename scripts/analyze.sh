#!/usr/bin/env bash
# Static analysis of the project's own sources: clang-tidy with the checks in
# .clang-tidy, and cppcheck with the findings accepted in
# .cppcheck-suppressions. Any other finding fails it.
#
# Both read the compile commands CMake writes: the host build's for app/,
# framework/, installer/ and tests/, the fuzz build's for tests/fuzz/, and
# (cppcheck only) the windows-x64 build's for the Windows-only entry point and
# application object, which clang-tidy cannot compile against the Linux
# stand-in.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

for preset in host fuzz windows-x64; do
  cmake --preset "$preset" >/dev/null
done

log="$root/build/analyze.log"
: >"$log"
failed=0
run() {  # run NAME COMMAND...: runs a tool, shows its findings only on failure
  local output
  if ! output="$("$@" 2>&1)"; then
    echo "FAILED: $1 (whole output in ${log#"$root/"})" >&2
    sed 's/\x1b\[[0-9;]*m//g' <<<"$output" | grep -E "(error|warning|style|performance|portability): " | sort -u >&2 || true
    failed=1
  fi
  echo "$output" >>"$log"
}

own='/(app|framework|installer|tests)/'
run run-clang-tidy -quiet -j 2 -p build/host "$own"
run run-clang-tidy -quiet -j 2 -p build/fuzz '/tests/fuzz/'

cppcheck=(cppcheck --quiet --std=c++20 -j 2 --error-exitcode=1 --inline-suppr
  --enable=warning,style,performance,portability --suppressions-list=.cppcheck-suppressions)
mkdir -p build/cppcheck/host build/cppcheck/windows-x64
run "${cppcheck[@]}" --library=googletest --project=build/host/compile_commands.json \
  --cppcheck-build-dir=build/cppcheck/host
run "${cppcheck[@]}" --library=windows --platform=win64 --project=build/windows-x64/compile_commands.json \
  --cppcheck-build-dir=build/cppcheck/windows-x64

if ((failed)); then
  exit 1
fi
echo "analysis: clang-tidy and cppcheck found nothing"
