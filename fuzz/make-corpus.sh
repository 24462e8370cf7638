#!/usr/bin/env bash
# Writes the committed seed corpora (fuzz/corpus) anew with the product's own writer.
#   fuzz/make-corpus.sh [build folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${DZ_BUILD_DIR:-build}}
[[ $build = /* ]] || build=$root/$build
source "$root/fuzz/targets.sh"
dz_fuzz_build "$build/fuzz"
"$build/fuzz/fuzz_make_corpus" "$root/fuzz/corpus"
