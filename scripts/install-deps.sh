#!/usr/bin/env bash
# Installs everything the build and the tests need on Debian 12. Idempotent; run as root
# (or with sudo available). Does nothing when every package is already there. 32-bit Wine is
# installed only where the machine can execute 32-bit code (scripts/runs-32bit-code.sh).
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")

# Both cross toolchains, 64-bit Wine and the virtual display, with what they recommend.
packages=(
  cmake ninja-build git
  g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-utils imagemagick
  # The dialog font under Wine (Liberation Sans stands in for the Windows faces).
  fonts-liberation
  googletest libgtest-dev libbenchmark-dev
  # zlib is the yardstick of the inflate benchmark, and nothing else.
  zlib1g-dev
  clang libclang-rt-14-dev
  python3
  # The i386 loader, which tells whether 32-bit code can run here.
  libc6-i386
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

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
updated=
apt_install() {
  [ -n "$updated" ] || { "${sudo_cmd[@]}" apt-get update -qq; updated=1; }
  "${sudo_cmd[@]}" apt-get install -y -qq "$@" >/dev/null
}

if [ -n "$(missing_of libc6-i386)" ]; then apt_install libc6-i386; fi
if "$here/runs-32bit-code.sh" >/dev/null; then
  packages+=(wine32:i386)
fi

mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t missing_bare < <(missing_of "${bare_packages[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#missing_bare[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]} ${missing_bare[*]}"
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
  ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  updated=
fi
if [ ${#missing[@]} -gt 0 ]; then apt_install "${missing[@]}"; fi
if [ ${#missing_bare[@]} -gt 0 ]; then apt_install --no-install-recommends "${missing_bare[@]}"; fi
