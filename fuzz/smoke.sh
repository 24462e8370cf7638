#!/usr/bin/env bash
# Fuzz smoke run: builds the fuzz targets with clang, libFuzzer and the sanitizers, then runs
# each for a few seconds from its committed corpus. Any crash, leak or failed check fails.
#   fuzz/smoke.sh [build folder]     (default: $DZ_BUILD_DIR or build)
#   DZ_FUZZ_SECONDS   seconds per target (default 6)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${DZ_BUILD_DIR:-build}}
[[ $build = /* ]] || build=$root/$build
seconds=${DZ_FUZZ_SECONDS:-6}
source "$root/fuzz/targets.sh"

dz_fuzz_build "$build/fuzz"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for target in "${dz_fuzz_targets[@]}"; do
  # New inputs go to a scratch folder; the committed corpus is only read.
  mkdir -p "$work/$target"
  if "$build/fuzz/fuzz_$target" "$work/$target" "$root/fuzz/corpus/$target" \
       $(dz_fuzz_dict_option "$target") -max_total_time="$seconds" -timeout=10 \
       -artifact_prefix="$work/" -print_final_stats=1 >"$work/$target.log" 2>&1; then
    echo "fuzz smoke $target: $(dz_fuzz_summary "$work/$target.log")"
  else
    status=1
    echo "fuzz smoke $target: FAILED"
    tail -n 40 "$work/$target.log"
  fi
done
exit $status
