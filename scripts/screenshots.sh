#!/usr/bin/env bash
# Regenerates the pictures of Setup.exe's two message boxes in docs/, from
# real runs under Wine on a virtual X display (Xvfb):
#   docs/service-message.png   WinMgmt stopped
#   docs/logon-failure.png     a start with a logon that the platform refuses
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh
for package in xvfb x11-apps imagemagick; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$package"
done
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 >/dev/null

work="$root/build/screenshots"
rm -rf "$work"
mkdir -p "$work/dist"
cp build/windows-x64/Setup.exe "$work/dist/"

source scripts/lib/wine.sh
display=:97
Xvfb "$display" -screen 0 640x360x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb=$!
trap 'wine_down; kill $xvfb 2>/dev/null || true' EXIT
wine_up "$work/prefix"
export DISPLAY="$display"

# shoot NAME ARGS...: runs Setup.exe with ARGS, waits for its box to be drawn,
# and saves the screen around it as docs/NAME.png.
shoot() {
  local name="$1"
  shift
  # Inside a Wine virtual desktop, which draws the box's frame and caption
  # (the bare X display has no window manager to draw them).
  (cd "$work/dist" && timeout 60 wine explorer /desktop=Tolmo,480x170 Setup.exe "$@" </dev/null >/dev/null 2>&1 &)
  sleep 8
  xwd -root -display "$display" -silent | convert xwd:- -crop 480x170+0+0 +repage "docs/$name.png"
  timeout 30 wine taskkill /f /im Setup.exe >/dev/null 2>&1 || true
  sleep 2
  echo "docs/$name.png"
}

wine_service winmgmt stop
shoot service-message /qn
wine_service winmgmt start
shoot logon-failure /qn '/USUARIO=instalador@ESCRITORIO;segredo'
