#!/usr/bin/env bash
# The engine's timing under Wine: firing lateness, reload of 10,000 entries, idle processor
# time. Builds what it needs in the Windows build of the given folder and runs it in that
# folder's Wine prefix.
#   bench/engine/run.sh [build folder] [idle seconds, default 60]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-${DZ_BUILD_DIR:-build}}
[[ $build = /* ]] || build=$root/$build
idle=${2:-60}

"$root/tools/setup.sh"
cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build/win" -j"${DZ_JOBS:-$(nproc)}" --target engine_bench >/dev/null
source "$root/tools/wine-env.sh"
own_display=0
[ -z "${DISPLAY:-}" ] && own_display=1
dz_wine_start "$build/wineprefix"
[ "$own_display" = 1 ] && trap dz_wine_stop EXIT
wine "$build/win/bench/engine/engine_bench.exe" "$idle"
