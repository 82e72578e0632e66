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
  clang libclang-rt-14-dev                               # fuzz preset: libFuzzer and sanitizers
  libbenchmark-dev                                       # benchmarks (host preset)
  clang-tidy cppcheck                                    # static analysis
)
if [[ "${1:-all}" != build ]]; then
  # Running Setup.exe on a real implementation of the platform, with a real
  # Windows Installer package. Only the 64-bit Wine: this machine runs no
  # 32-bit code.
  packages+=(wine64 wine msitools wixl locales)
  # Signing a release file, and the throwaway certificate of its test.
  packages+=(osslsigncode openssl)
fi
command -v python3 >/dev/null || packages+=(python3)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$package")
  fi
done
sudo=()
if ((EUID != 0)); then sudo=(sudo); fi
if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A Japanese locale, under which Wine's ANSI code page is the double-byte 932.
if [[ "${1:-all}" != build ]] && ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  "${sudo[@]}" localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
