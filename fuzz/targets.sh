# Sourced by fuzz/smoke.sh and fuzz/run.sh: the targets, their build and their summaries.
dz_fuzz_targets=(storage texttable descriptions callback history)

dz_fuzz_build() { # build folder
  local compiler=${DZ_FUZZ_CXX:-clang++-14}
  cmake -S "$root/fuzz" -B "$1" -DCMAKE_CXX_COMPILER="$compiler" >/dev/null
  cmake --build "$1" -j"${DZ_JOBS:-$(nproc)}" >/dev/null
}

dz_fuzz_dict_option() { # target
  local dict="$root/fuzz/$1.dict"
  [ -f "$dict" ] && echo "-dict=$dict"
  return 0
}

# "N runs, cov C, ft F" from a libFuzzer log.
dz_fuzz_summary() { # log
  local runs cov ft
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$1" | tail -n1)
  cov=$(grep -o 'cov: [0-9]*' "$1" | tail -n1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$1" | tail -n1 | cut -d' ' -f2)
  echo "${runs:-?} runs, cov ${cov:-?}, ft ${ft:-?}"
}
