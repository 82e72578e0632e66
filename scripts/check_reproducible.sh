#!/usr/bin/env bash
# Checks that Setup.exe is the same file, byte for byte, wherever it is built:
# builds the windows-x64 release from a copy of the sources in another folder
# into a build folder of another name and depth (both with blanks in their
# paths), and compares the result with REFERENCE, a Setup.exe built from the
# same sources elsewhere. Without REFERENCE it builds that one too, from a
# second copy.
#
#   scripts/check_reproducible.sh [WORK_FOLDER [REFERENCE]]
#   (default work folder: build/reproducible)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="${1:-$root/build/reproducible}"
reference="${2:-}"
rm -rf "$work"
mkdir -p "$work"

# The sources as they stand in the working tree (every file git does not
# ignore), copied to FOLDER.
copy_sources() {
  mkdir -p "$1"
  (cd "$root" && git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$1")
}

# build SOURCES BUILD_FOLDER: the windows-x64 preset's release build.
build() {
  cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$1/cmake/toolchain-windows-x64.cmake" >/dev/null
  cmake --build "$2" --target Setup >/dev/null
}

if [[ -z "$reference" ]]; then
  copy_sources "$work/a"
  build "$work/a" "$work/b"
  reference="$work/b/Setup.exe"
fi
sources="$work/second copy/of the/sources"
output="$work/a build folder/with a longer name, deeper down"
copy_sources "$sources"
build "$sources" "$output"

if ! cmp -s "$reference" "$output/Setup.exe"; then
  echo "FAILED: two builds of the same sources differ ($reference, $output/Setup.exe)" >&2
  cmp -l "$reference" "$output/Setup.exe" | head -n 20 >&2 || true
  exit 1
fi
echo "reproducible: both builds are $(wc -c <"$reference") bytes, sha256 $(sha256sum "$reference" | cut -c1-16)..."
