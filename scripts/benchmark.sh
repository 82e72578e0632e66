#!/usr/bin/env bash
# Measures the launcher and prints one table (Markdown) of:
#   - BuildInstallerArguments over argument vectors of 1 to 32,767 bytes in
#     all, against the recording fake: time, time per byte, the complexity
#     fit (Google Benchmark, release build, preset "benchmark");
#   - the whole run (application object, entry point, hook) against the fake;
#   - under Wine with WinMgmt running: the wall time from `wine Setup.exe /qn`
#     to its exit against a floor program that makes only the platform calls
#     the launcher must make (tests/benchmarks/floor.c), RUNS runs of each,
#     alternating, in a folder without Tolmo.msi so that msiexec fails fast;
#     the median of the per-pair ratios;
#   - the size of Setup.exe for x64 and x86.
#
#   scripts/benchmark.sh [RUNS]     (default 15)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
runs="${1:-15}"

scripts/install-deps.sh >&2
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-2}"
work="$root/build/bench-wine"
mkdir -p "$work"

# --- Against the fake -----------------------------------------------------------
{
  cmake --preset benchmark
  cmake --build --preset benchmark
} >/dev/null
echo "running the benchmarks against the fake" >&2
build/benchmark/tests/benchmarks/launcher_benchmarks --benchmark_out="$work/host.json" \
  --benchmark_out_format=json >/dev/null 2>&1

# --- Release files ----------------------------------------------------------------
for preset in windows-x64 windows-x86; do
  { cmake --preset "$preset" && cmake --build --preset "$preset"; } >/dev/null
done
x86_64-w64-mingw32-gcc-win32 -std=c11 -Os -Wall -Wextra -Werror -static -s -mwindows \
  -Wl,--no-insert-timestamp tests/benchmarks/floor.c -o "$work/floor.exe" -lole32 -ladvapi32

# --- Under Wine -------------------------------------------------------------------
run_folder="$work/run"  # no Tolmo.msi here: msiexec gives up at once
rm -rf "$run_folder"
mkdir -p "$run_folder"
cp build/windows-x64/Setup.exe "$work/floor.exe" "$run_folder/"

source scripts/lib/wine.sh
trap wine_down EXIT
echo "starting Wine and WinMgmt" >&2
wine_up "$work/prefix"
wine_service winmgmt start

times="$work/wine-times.txt"
: >"$times"
# time_run LABEL FILE: one run from start to exit, in milliseconds.
time_run() {
  local start end status=0
  start=$(date +%s%N)
  (cd "$run_folder" && timeout 60 wine "$2" /qn </dev/null >/dev/null 2>&1) || status=$?
  end=$(date +%s%N)
  if ((status != 0)); then
    echo "FAILED: $2 ended with status $status under Wine" >&2
    exit 1
  fi
  # Let the installer it started give up before the next run.
  sleep 0.5
  echo "$1 $(((end - start) / 1000))" >>"$times"
}
echo "timing $runs runs of each under Wine" >&2
for warm_up in 1 2; do
  time_run warm-up Setup.exe
  time_run warm-up floor.exe
done
: >"$times"
for ((i = 0; i < runs; ++i)); do
  # Alternate which goes first, so that drift hits both alike.
  if ((i % 2 == 0)); then
    time_run launcher Setup.exe
    time_run floor floor.exe
  else
    time_run floor floor.exe
    time_run launcher Setup.exe
  fi
done
wine_down
trap - EXIT

# --- The table ----------------------------------------------------------------------
python3 scripts/lib/benchmark_table.py "$work/host.json" "$times" build/windows-x64/Setup.exe build/windows-x86/Setup.exe
