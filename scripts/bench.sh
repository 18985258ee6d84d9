#!/usr/bin/env bash
# Builds the benchmarks in the default preset and runs them: all, or those whose target
# name contains the first argument (e.g. scripts/bench.sh regex). Further arguments go to
# Google Benchmark. "process" (or no argument) also runs bench/process.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-machine.sh
cmake --preset default >/dev/null
cmake --build --preset default
filter="${1:-}"
[ $# -gt 0 ] && shift
found=0
for b in build/default/bench/*/*_bench; do
  [ -x "$b" ] || continue
  case "$(basename "$b")" in *"$filter"*) ;; *) continue ;; esac
  found=1
  echo "== $(basename "$b")"
  "$b" "$@"
done
# Whole processes (panlift-cli against curl, its peak memory, its start-up): bench/process.sh.
case process in *"$filter"*) found=1; echo "== process"; bench/process.sh ;; esac
[ $found -eq 1 ] || { echo "no benchmark matches '$filter'" >&2; exit 1; }
