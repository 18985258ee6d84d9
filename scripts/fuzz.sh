#!/usr/bin/env bash
# Builds the fuzz preset and runs each fuzz target for the given time, starting from its
# committed corpus under fuzz/corpus/<target>. New corpus entries, crash artifacts and the
# logs go to a scratch directory, never into the repository.
#
#   ./scripts/fuzz.sh [seconds per target, default 60] [target ...]
#
# PANLIFT_FUZZ_SCRATCH: the scratch directory (default /tmp/panlift-fuzz).
# PANLIFT_FUZZ_JOBS: how many targets run at the same time (default 1).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[[ $# -gt 0 ]] && shift
scratch=$(realpath -m "${PANLIFT_FUZZ_SCRATCH:-/tmp/panlift-fuzz}")
jobs=${PANLIFT_FUZZ_JOBS:-1}
if [[ $# -gt 0 ]]; then
  targets=("$@")
else
  targets=()
  for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

nice -n 10 cmake --preset fuzz >/dev/null
nice -n 10 cmake --build --preset fuzz

run_one() {
  local target=$1 seconds=$2 scratch=$3
  local out=$scratch/$target
  mkdir -p "$out/corpus" "$out/artifacts"
  # The runtime, Qt and the sanitizers together need more than libFuzzer's 2 GB default.
  # Paths are absolute: starting the runtime changes the working directory.
  if QT_QPA_PLATFORM=offscreen LSAN_OPTIONS="suppressions=$PWD/cmake/lsan.supp" nice -n 10 \
      "$PWD/build/fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=6144 \
      -print_final_stats=1 -artifact_prefix="$out/artifacts/" "$out/corpus" "$PWD/fuzz/corpus/$target" \
      >"$out/log" 2>&1; then
    echo "$target: $(grep -E '^#[0-9]+.*DONE' "$out/log" | tail -1)"
  else
    echo "$target: FAILED, see $out/log and $out/artifacts/"
    return 1
  fi
}
export -f run_one

status=0
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one "$@"' _ {} "$seconds" "$scratch" || status=1
exit $status
