#!/usr/bin/env bash
# Long fuzz run: each target in turn for DZ_FUZZ_SECONDS (default 180), growing a working
# corpus in the build folder from the committed one. Prints one line per target with the
# executions and the coverage reached; crashes are kept in <build>/fuzz/artifacts.
#   fuzz/run.sh [build folder] [target ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${DZ_BUILD_DIR:-build}}
[[ $build = /* ]] || build=$root/$build
shift || true
seconds=${DZ_FUZZ_SECONDS:-180}
source "$root/fuzz/targets.sh"
[ $# -gt 0 ] && dz_fuzz_targets=("$@")

dz_fuzz_build "$build/fuzz"
mkdir -p "$build/fuzz/artifacts"
status=0
printf '%-14s %10s %10s %8s %8s %s\n' target seconds runs cov ft result
for target in "${dz_fuzz_targets[@]}"; do
  corpus=$build/fuzz/corpus-$target
  mkdir -p "$corpus"
  log=$build/fuzz/$target.log
  result=clean
  "$build/fuzz/fuzz_$target" "$corpus" "$root/fuzz/corpus/$target" \
    $(dz_fuzz_dict_option "$target") -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/fuzz/artifacts/$target-" -print_final_stats=1 >"$log" 2>&1 \
    || { result="CRASH (see $log)"; status=1; }
  read -r runs _ cov ft <<<"$(dz_fuzz_summary "$log" | tr -d ',' | awk '{print $1, $2, $4, $6}')"
  printf '%-14s %10s %10s %8s %8s %s\n' "$target" "$seconds" "$runs" "$cov" "$ft" "$result"
done
exit $status
