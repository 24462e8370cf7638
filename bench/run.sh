#!/usr/bin/env bash
# Benchmarks, one group after another; each prints its report and then one table of ratios
# against baselines measured in the same run.
#   bench/run.sh [build folder] [group ...]          (without groups: every group)
# Native groups (Google Benchmark, built without sanitizers, Release, in <build>/bench):
#   storage      Load/Save of 100,000 entries vs fread/fwrite; Load growth 10k/100k/1M
#   recurrence   next occurrence, Compare-sort and schedule summary per entry
# Groups under Wine (a timing harness, in the Windows build <build>/win and its prefix):
#   startup      Dozara until its list is painted, 0/100/1000/1000000 entries, vs an empty window;
#                Activate/Disable with 1,000 entries vs with one
#   callback     TarvikEngineFunc until the executor ends vs CreateProcessW of an empty program
#   help         opening the largest help page the viewer shows, words and one long word
#   engine       firing lateness, reload and idle processor time (bench/engine/run.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${DZ_BUILD_DIR:-build}}
[[ $build = /* ]] || build=$root/$build
shift || true
groups=("$@")
[ ${#groups[@]} -eq 0 ] && groups=(storage recurrence startup callback help engine)
jobs=${DZ_JOBS:-$(nproc)}

"$root/tools/setup.sh"
native_ready=0 wine_ready=0
native() { # group
  if [ $native_ready = 0 ]; then
    cmake -S "$root" -B "$build/bench" -DCMAKE_BUILD_TYPE=Release -DDZ_SANITIZE=OFF >/dev/null
    native_ready=1
  fi
  cmake --build "$build/bench" -j"$jobs" --target "$1_bench" >/dev/null
  "$build/bench/bench/$1/$1_bench" --benchmark_min_time=0.5
}
wine_build() { # target
  if [ $wine_ready = 0 ]; then
    cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
          -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    source "$root/tools/wine-env.sh"
    [ -z "${DISPLAY:-}" ] && trap dz_wine_stop EXIT
    dz_wine_start "$build/wineprefix" >/dev/null 2>&1
    wine_ready=1
  fi
  cmake --build "$build/win" -j"$jobs" --target "$1" >/dev/null
}
winpath() { echo "Z:$1"; }

for group in "${groups[@]}"; do
  case $group in
  storage | recurrence) native "$group" ;;
  startup)
    wine_build startup_bench
    wine "$build/win/bench/startup/startup_bench.exe" "$(winpath "$build/win/ui/app/Dozara.exe")" \
      "$(winpath "$root/ui/resources/local.dat")" \
      "$(winpath "$build/win/bench/startup/bench_empty_window.exe")"
    ;;
  callback)
    wine_build callback_bench
    wine "$build/win/bench/callback/callback_bench.exe" \
      "$(winpath "$build/win/callback/DozaraDLL.dll")" \
      "$(winpath "$build/win/executor/DozaraUtil.exe")" \
      "$(winpath "$build/win/bench/callback/bench_empty_program.exe")"
    ;;
  help)
    wine_build help_bench
    wine "$build/win/bench/help/help_bench.exe"
    ;;
  engine) "$root/bench/engine/run.sh" "$build" ;;
  *) echo "bench: no group $group" >&2; exit 2 ;;
  esac
done
