#!/usr/bin/env bash
# Renders the phone screen (the 240 x 320 area at the top-left corner of the display) of
# programs under a display of its own to PNG files in shots/.
#   DZ_BUILD_DIR=build-x tools/screenshots/shots.sh     (the Windows build in $DZ_BUILD_DIR/win)
#   DZ_SHOTS=REGEX   only the screens whose names match
# A screen is one line:
#   shoot NAME [--keys "F2 Down"] COMMAND...
# starts COMMAND, waits until it is up, presses the keys (dzkeys.exe), saves shots/NAME.png
# and ends the program. Other areas add their screens after these in one of two ways:
#   tools/<area>/<area>-shots.sh   sourced here; builds what it needs and calls shoot ($win set)
#   tools/<area>/shots-<area>.sh   run as: script BUILD_DIR shots/ ; renders its own scenes
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
build=${DZ_BUILD_DIR:-build}
win="$root/$build/win"
out="$root/shots"
wait_up=${DZ_SHOT_WAIT:-3}
mkdir -p "$out"

cmake --build "$win" --target shelldemo dzkeys >/dev/null

source "$root/tools/wine-env.sh"
export DZ_XVFB=1
trap dz_wine_stop EXIT
dz_wine_start "$build/shots-prefix"

shoot() {
  local name=$1
  shift
  [[ $name =~ ${DZ_SHOTS:-.} ]] || return 0
  local keys=""
  if [ "${1:-}" = --keys ]; then
    keys=$2
    shift 2
  fi
  "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "$wait_up"
  if [ -n "$keys" ]; then
    # shellcheck disable=SC2086 # the keys are separate words
    wine "$win/tools/screenshots/dzkeys.exe" $keys
    sleep 1
  fi
  import -window root -crop 240x320+0+0 +repage "$out/$name.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "shots/$name.png"
}

demo="$win/tools/screenshots/shelldemo.exe"
shoot demo-main wine "$demo"
shoot demo-menu --keys "F2 Down" wine "$demo"
shoot demo-help wine "$demo" help
shoot demo-help-scrolled --keys "PageDown" wine "$demo" help
for extra in "$root"/tools/*/*-shots.sh; do
  [ -f "$extra" ] && source "$extra"
done
if [ -f "$root/tools/appshots/CMakeLists.txt" ]; then
  cmake --build "$win" --target appscenes >/dev/null
fi
for script in "$root"/tools/*/shots-*.sh; do
  [ -f "$script" ] && "$script" "$build" "$out"
done
