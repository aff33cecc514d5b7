#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each (default 180) from its committed
# seed corpus and prints, per target, the inputs tried and the crashes found.
#
#   scripts/fuzz.sh            # three minutes each
#   scripts/fuzz.sh 30         # thirty seconds each
#   scripts/fuzz.sh 30 manifest_fuzzer   # one target
#
# Builds the targets (clang++ with libFuzzer, ASan and UBSan) in build-fuzz
# first. New inputs a run finds go to build-fuzz/fuzz-runs/NAME/corpus, never
# into the sources; a crash leaves build-fuzz/fuzz-runs/NAME/crash-* to
# replay with `build-fuzz/tests/fuzz/NAME FILE`. The exit status is 1 when
# any target crashed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-180}"
shift || true
all=(pack_file_fuzzer recovery_file_fuzzer level_clip_fuzzer
     password_file_fuzzer manifest_fuzzer settings_fuzzer
     terrain_picture_fuzzer)
targets=("${@:-${all[@]}}")

# name -> seed corpus, longest input and extra options
declare -A corpus=(
  [pack_file_fuzzer]=tests/packfile/corpus
  [recovery_file_fuzzer]=tests/fuzz/corpus/recovery
  [level_clip_fuzzer]=tests/fuzz/corpus/clip
  [password_file_fuzzer]=tests/fuzz/corpus/password
  [manifest_fuzzer]=tests/fuzz/corpus/manifest
  [settings_fuzzer]=tests/fuzz/corpus/settings
  [terrain_picture_fuzzer]=tests/fuzz/corpus/picture)
declare -A maxlen=(
  [pack_file_fuzzer]=10000 [recovery_file_fuzzer]=70000
  [level_clip_fuzzer]=10000 [password_file_fuzzer]=5000
  [manifest_fuzzer]=10000 [settings_fuzzer]=5000
  [terrain_picture_fuzzer]=20000)
declare -A dict=([manifest_fuzzer]=tests/fuzz/manifest.dict)

bash scripts/install-deps.sh
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz.sh: clang++ is missing (scripts/install-deps.sh installs it)" >&2
  exit 2
fi
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPLODDERZ_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]}" >/dev/null

export QT_QPA_PLATFORM=offscreen
root="$PWD"
failed=0
printf '%-24s %12s %8s\n' target inputs crashes
for name in "${targets[@]}"; do
  work="build-fuzz/fuzz-runs/$name"
  rm -rf "$work"
  mkdir -p "$work/corpus"
  options=(-max_total_time="$seconds" -max_len="${maxlen[$name]}"
           -print_final_stats=1)
  if [ -n "${dict[$name]:-}" ]; then options+=(-dict="$root/${dict[$name]}"); fi
  status=0
  (cd "$work" && "$root/build-fuzz/tests/fuzz/$name" corpus \
     "$root/${corpus[$name]}" "${options[@]}") >"$work/log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -1)
  crashes=$(find "$work" -maxdepth 1 -name 'crash-*' -o -maxdepth 1 -name 'leak-*' \
            -o -maxdepth 1 -name 'timeout-*' -o -maxdepth 1 -name 'oom-*' | wc -l)
  if [ "$status" -ne 0 ] && [ "$crashes" -eq 0 ]; then crashes=1; fi
  printf '%-24s %12s %8s\n' "$name" "${runs:-?}" "$crashes"
  if [ "$crashes" -ne 0 ]; then
    failed=1
    echo "  see $work/log" >&2
  fi
done
exit "$failed"
