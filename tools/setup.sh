#!/usr/bin/env bash
# Installs what building and testing Dozara needs on a Debian machine, then builds
# GoogleTest for the Windows target once (kept in /opt/dozara/gtest-mingw).
set -euo pipefail

# fonts-dejavu-extra: the narrow sans that stands in for the phone's font under Wine.
# fonts-wine: Wine's symbol font, which draws the close glyph of message boxes and captions
# (without it the glyph shows as the letter "r"; --no-install-recommends leaves it out).
packages=(cmake make g++ mingw-w64 wine wine64 xvfb xauth x11-utils imagemagick
          fonts-dejavu-extra libgtest-dev googletest libbenchmark-dev clang-14 libclang-rt-14-dev
          clang-format fonts-wine)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: these Debian packages are missing: ${missing[*]}" >&2
    echo "setup: run this script as root (it calls apt-get), or install them yourself." >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

gtest_prefix=${DZ_GTEST_MINGW:-/opt/dozara/gtest-mingw}
if [ ! -f "$gtest_prefix/lib/libgtest.a" ]; then
  if [ ! -w "$(dirname "$(dirname "$gtest_prefix")")" ] && [ "$(id -u)" -ne 0 ]; then
    echo "setup: cannot write $gtest_prefix; set DZ_GTEST_MINGW to a folder of yours" >&2
    exit 1
  fi
  echo "setup: building GoogleTest for Windows into $gtest_prefix"
  here=$(cd "$(dirname "$0")/.." && pwd)
  work=$(mktemp -d)
  cmake -S /usr/src/googletest -B "$work" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF \
        -DCMAKE_INSTALL_PREFIX="$gtest_prefix" >/dev/null
  cmake --build "$work" -j"$(nproc)" >/dev/null
  cmake --install "$work" >/dev/null
  rm -rf "$work"
fi
