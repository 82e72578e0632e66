#!/usr/bin/env bash
# The main job: builds Setup.exe and a sample Tolmo.msi, then installs the
# package through Setup.exe on Wine, with the WinMgmt service running and a
# property value that holds blanks, and shows what the installer left behind.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh
cmake --preset windows-x64
cmake --build --preset windows-x64

work="$root/build/main-job"
rm -rf "$work"
mkdir -p "$work/dist"
wixl -a x64 -o "$work/dist/Tolmo.msi" package/Tolmo.wxs
cp build/windows-x64/Setup.exe "$work/dist/"

source scripts/lib/wine.sh
trap wine_down EXIT
wine_up "$work/prefix"
wine_service winmgmt start

note="instalado pelo Setup.exe"
echo "Running: Setup.exe /qn \"NOTA=$note\""
(cd "$work/dist" && timeout 120 wine Setup.exe /qn "NOTA=$note")
echo "Setup.exe ended with status 0"

# The launcher does not wait for the installer: wait for what it installs.
installed="$WINEPREFIX/drive_c/Program Files/Tolmo/leia-me.txt"
registry_note() {
  timeout 60 wine reg query 'HKLM\Software\Veslor\Tolmo' /v Nota 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *Nota *REG_SZ *//p'
}
note_arrived() { [[ -f "$installed" && "$(registry_note)" == "$note" ]]; }
if ! wait_for 180 note_arrived; then
  echo "FAILED: the package was not installed as expected" >&2
  echo "  file: $(ls "$installed" 2>&1)" >&2
  echo "  Nota: '$(registry_note)'" >&2
  exit 1
fi
echo "Installed file: ${installed#"$root/"}"
echo "Registry HKLM\\Software\\Veslor\\Tolmo Nota = \"$(registry_note)\""
echo "main job: OK"
