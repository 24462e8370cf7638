#!/usr/bin/env bash
# Builds the Windows build, installs it into its own Wine prefix as on the device, and starts
# Dozara on the phone screen; Dozara starts the scheduling engine when it does not run yet.
#   DZ_BUILD_DIR   build folder (default: build); the installed system lives in its runprefix/
#   DZ_JOBS        parallel build jobs (default: all cores)
# With a display (DISPLAY set) the window opens for you and the script returns when you exit
# Dozara; the engine keeps running, as on the device. Without a display it starts Xvfb, starts
# the program, saves a screenshot of the phone screen to shots/run.png, says where, and stops.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${DZ_BUILD_DIR:-build}
jobs=${DZ_JOBS:-$(nproc)}

"$root/tools/setup.sh"

echo "== Windows build =="
# Configured as tools/test.sh configures it, so both share one build.
cmake -S . -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build/win" -j"$jobs"

# A prefix of its own: the tests' prefix stays without an installed engine.
prefix="$build/runprefix"
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
source "$root/tools/wine-env.sh"
trap dz_wine_stop EXIT
dz_wine_start "$prefix"

echo "== installing into $prefix =="
# The install step's own program (what tools/install/install.sh runs), inside the Wine session
# started above: install.sh would start a second wineserver on this prefix.
wine "$build/win/tools/install/dzinstall.exe"
program_files=$(wine cmd /c echo %ProgramW6432% 2>/dev/null | tr -d '\r')
dozara="$program_files\\Dozara\\Dozara.exe"

echo "== starting Dozara =="
if [ "$headless" = 0 ]; then
  wine "$dozara"
  trap - EXIT # the engine keeps running, as on the device
  exit 0
fi

wine "$dozara" &
dozara_pid=$!
# The phone screen is ready once the main window (titled by APP_NAME) exists.
shown=0
for _ in $(seq 1 200); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Dozara"'; then
    shown=1
    break
  fi
  kill -0 "$dozara_pid" 2>/dev/null || break
  sleep 0.1
done
if [ "$shown" = 0 ]; then
  echo "run: Dozara did not open its window (see the message it showed, if any)" >&2
  exit 1
fi
sleep 1 # let the rows and the status strip paint
mkdir -p "$root/shots"
import -window root -crop 240x320+0+0 +repage "$root/shots/run.png"
echo "run: no display here; the phone screen is in $root/shots/run.png"
# Closing the display ends Dozara with it; the engine is stopped with the prefix's wineserver.
