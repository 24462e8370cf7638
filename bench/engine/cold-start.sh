#!/usr/bin/env bash
# Cold starts of the engine: each run ends the prefix's wineserver, so that the launcher below
# is the first program of a fresh Wine session and the engine's first window starts the
# desktop, as when the phone program starts the engine after a reboot. Prints the milliseconds
# from the launch until "TARVIKENGINEREADY" is set, per run and engine, in turns.
#   bench/engine/cold-start.sh [build folder] [runs, default 10] [engine.exe ...]
# Without engines it times the build's own; give an older build's engine to compare.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-${DZ_BUILD_DIR:-build}}
[[ $build = /* ]] || build=$root/$build
runs=${2:-10}
shift 2 || shift $#
engines=("$@")
[ ${#engines[@]} -eq 0 ] && engines=("$build/win/engine/tarvikengine.exe")

"$root/tools/setup.sh"
cmake --build "$build/win" -j"${DZ_JOBS:-$(nproc)}" --target engine_ready_after_launch \
  tarvikengine >/dev/null
source "$root/tools/wine-env.sh"
prefix="$build/coldprefix"
trap dz_wine_stop EXIT
dz_wine_start "$prefix" # a display and a set-up prefix; its server ends before every run
work=$(mktemp -d)
for i in "${!engines[@]}"; do
  mkdir -p "$work/$i"
  cp "${engines[$i]}" "$work/$i/tarvikengine.exe"
done
printf 'run'
for engine in "${engines[@]}"; do printf '\t%s' "$engine"; done
printf '\n'
for run in $(seq 1 "$runs"); do
  printf '%s' "$run"
  for i in "${!engines[@]}"; do
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w
    # To a file: the engine inherits the output and keeps running, so a pipe would never end.
    wine "$build/win/bench/engine/engine_ready_after_launch.exe" "Z:$work/$i/tarvikengine.exe" \
      >"$work/ms" 2>/dev/null </dev/null || true
    printf '\t%s' "$(tr -d '\r' <"$work/ms")"
  done
  printf '\n'
done
wineserver -k >/dev/null 2>&1 || true
rm -rf "$work"
