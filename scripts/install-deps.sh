#!/usr/bin/env bash
# Installs everything the build and the tests need on Debian 12. Idempotent; run as root
# (or with sudo available). Does nothing when every package is already there.
set -euo pipefail

# The cross toolchain, Wine (32-bit) and the virtual display, with what they recommend.
packages=(
  cmake ninja-build git
  g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
  wine wine32:i386 xvfb xauth x11-utils imagemagick
  # The dialog font under Wine (Liberation Sans stands in for the Windows faces).
  fonts-liberation
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  python3
)
# LibreOffice only judges the tests (Calc opens the invoice files, Writer makes and converts the
# documents that are counted): its bare minimum will do.
bare_packages=(libreoffice-calc-nogui libreoffice-writer-nogui)

missing_of() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}
mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t missing_bare < <(missing_of "${bare_packages[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#missing_bare[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]} ${missing_bare[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
"${sudo_cmd[@]}" apt-get update -qq
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi
if [ ${#missing_bare[@]} -gt 0 ]; then
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing_bare[@]}" >/dev/null
fi
