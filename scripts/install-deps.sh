#!/usr/bin/env bash
# Installs, with apt-get, whatever the project's builds and tests need and the
# machine lacks. Safe to run again: it installs nothing when all is there.
#
#   scripts/install-deps.sh            everything
#   scripts/install-deps.sh build      compilers and the unit tests only
set -euo pipefail

packages=(
  cmake ninja-build g++ libgtest-dev                     # host build and unit tests
  g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64  # Setup.exe, 64-bit
  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686      # Setup.exe, 32-bit
)
if [[ "${1:-all}" != build ]]; then
  # Running Setup.exe on a real implementation of the platform, with a real
  # Windows Installer package. Only the 64-bit Wine: this machine runs no
  # 32-bit code.
  packages+=(wine64 wine msitools wixl)
fi
command -v python3 >/dev/null || packages+=(python3)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$package")
  fi
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if ((EUID != 0)); then sudo=(sudo); fi
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
