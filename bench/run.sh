#!/usr/bin/env bash
# Benchmarks, one group after another; each prints its report and then one table of ratios
# against baselines measured in the same run.
#   bench/run.sh [build folder] [group ...]
# Native groups (Google Benchmark, built without sanitizers, Release, in <build>/bench):
#   storage      Load/Save of 100,000 entries vs fread/fwrite; Load growth 10k/100k/1M
#   recurrence   next occurrence, Compare-sort and schedule summary per entry
# Without groups: every native group.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${DZ_BUILD_DIR:-build}}
[[ $build = /* ]] || build=$root/$build
shift || true
groups=("$@")
[ ${#groups[@]} -eq 0 ] && groups=(storage recurrence)

"$root/tools/setup.sh"
native=$build/bench
cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release -DDZ_SANITIZE=OFF >/dev/null
for group in "${groups[@]}"; do
  cmake --build "$native" -j"${DZ_JOBS:-$(nproc)}" --target "${group}_bench" >/dev/null
  "$native/bench/$group/${group}_bench" --benchmark_min_time=0.5
done
