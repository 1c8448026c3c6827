#!/usr/bin/env bash
# Installs every Debian package the native and Win32 builds, the tests and the
# benchmarks need. Safe to run again: apt-get skips what is already there.
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# wine32 is an i386 package: the DLL is 32-bit and needs the 32-bit loader.
# A kernel that cannot execute 32-bit programs cannot configure it either (its
# libraries' set-up scripts fail with "Exec format error"), so there it is left
# out and the Win32 suite runs on the 64-bit test build under wine64.
wine32=()
if why_not=$(bash scripts/can_run_32bit.sh); then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  wine32=(wine32:i386)
else
  echo "setup: wine32 left out: $why_not"
fi

export DEBIAN_FRONTEND=noninteractive
# A mirror caught mid-sync fails an index download now and then ("Hash Sum
# mismatch"): try again, then go on with the lists there are; a package they
# lack fails the install below with apt's own message.
for attempt in 1 2 3; do
  $SUDO apt-get update -q && break
  echo "setup: apt-get update failed (attempt $attempt of 3)" >&2
  [ "$attempt" -lt 3 ] && sleep 20
done
$SUDO apt-get install -y -q --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  libgtest-dev libgmock-dev libbenchmark-dev \
  libfreetype-dev libfontconfig-dev fontconfig fonts-dejavu-core fonts-liberation \
  libgif-dev libpng-dev libwebp-dev imagemagick \
  g++-mingw-w64-i686 binutils-mingw-w64-i686 \
  wine "${wine32[@]}" xvfb xauth \
  python3 bc \
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine64 \
  clang libclang-rt-14-dev ccache
