#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively under AddressSanitizer and
# UBSan, then the Windows build under Wine (windows on an Xvfb display).
#   DZ_BUILD_DIR   build folder (default: build)
#   DZ_TESTS       only the tests whose names match this regular expression
#   DZ_ONLY        "native" or "windows" to run one half
#   DZ_TEST_CLOCK  the local time that every test reads ("yyyy-mm-dd hh:mm:ss"; default: the
#                  instant in cmake/DozaraHelpers.cmake)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${DZ_BUILD_DIR:-build}
jobs=${DZ_JOBS:-$(nproc)}
filter=()
[ -n "${DZ_TESTS:-}" ] && filter=(-R "$DZ_TESTS")

"$root/tools/setup.sh"

# Every C++ file follows the repository's .clang-format; a file that differs fails the run.
echo "== format =="
format_status=0
git ls-files -- '*.cpp' '*.h' '*.c' | xargs clang-format --dry-run -Werror || format_status=1

# ccache, where a developer installed it, shares compiled files between build folders.
cmake_options=()
command -v ccache >/dev/null &&
  cmake_options=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

if [ -n "${DZ_TEST_CLOCK:-}" ]; then
  cmake_options+=("-DDZ_TEST_CLOCK=$DZ_TEST_CLOCK")
else
  cmake_options+=(-UDZ_TEST_CLOCK)
fi

summary=$(mktemp)
run_ctest() { # folder label
  set +e
  (cd "$1" && ctest --output-on-failure -j"$jobs" "${filter[@]}") | tee -a "$summary"
  local rc=${PIPESTATUS[0]}
  set -e
  return $rc
}

status=$format_status
only=${DZ_ONLY:-all}
if [ "$only" != windows ]; then
  echo "== native build (sanitizers) =="
  cmake -S . -B "$build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cmake_options[@]}" >/dev/null
  cmake --build "$build/native" -j"$jobs"
  run_ctest "$build/native" || status=1
  if [ -z "${DZ_TESTS:-}" ] || [[ fuzz =~ $DZ_TESTS ]]; then
    echo "== fuzz smoke (a few seconds per target) =="
    "$root/fuzz/smoke.sh" "$build" || status=1
  fi
fi
if [ "$only" != native ]; then
  echo "== 32-bit compile (the device's record sizes) =="
  DZ_JOBS=$jobs "$root/tools/compile32.sh" || status=1
  echo "== Windows build, tests under Wine =="
  cmake -S . -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cmake_options[@]}" >/dev/null
  cmake --build "$build/win" -j"$jobs"
  source "$root/tools/wine-env.sh"
  trap dz_wine_stop EXIT
  dz_wine_start "$build/wineprefix"
  run_ctest "$build/win" || status=1
fi

passed=0; failed=0
while read -r line; do
  if [[ $line =~ ([0-9]+)%\ tests\ passed,\ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
    failed=$((failed + BASH_REMATCH[2]))
    passed=$((passed + BASH_REMATCH[3] - BASH_REMATCH[2]))
  fi
done <"$summary"
rm -f "$summary"
echo
echo "executables: $passed passed, $failed failed"
exit $status
