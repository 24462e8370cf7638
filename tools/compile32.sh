#!/usr/bin/env bash
# Compiles the executor, the callback, the simulated phone and the portable core for 32-bit
# Windows, without linking: the phone is a 32-bit system, and the records that the executor
# and the callback hand to its libraries are checked against its sizes by static assertions
# that hold only in this build. About 25 s on two jobs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
compiler=i686-w64-mingw32-g++-posix
command -v "$compiler" >/dev/null || { echo "$compiler is missing (package mingw-w64)"; exit 1; }
ls executor/*.cpp callback/*.cpp platform/device/*.cpp platform/core/*.cpp core/model/*.cpp \
   core/text/*.cpp | grep -v '_posix\.cpp$' |
  xargs -P"${DZ_JOBS:-2}" -n1 "$compiler" -std=c++17 -fsyntax-only -I. \
    -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -D_WIN32_WINNT=0x0601 \
    -Wall -Wextra -Wno-unused-parameter -Werror
echo "32-bit compile: sizes hold"
