#!/usr/bin/env bash
# Installs every Debian package the native and Win32 builds, the tests and the
# benchmarks need. Safe to run again: apt-get skips what is already there.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# wine32 is an i386 package: the DLL is 32-bit and needs the 32-bit loader.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  libgtest-dev libgmock-dev libbenchmark-dev \
  libfreetype-dev libfontconfig-dev fontconfig fonts-dejavu-core fonts-liberation \
  libgif-dev libpng-dev libwebp-dev imagemagick \
  g++-mingw-w64-i686 binutils-mingw-w64-i686 \
  wine wine32:i386 xvfb xauth \
  python3 bc
