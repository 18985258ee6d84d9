#!/usr/bin/env bash
# The main job: sets the machine up, builds panlift and panlift-simulator where they are not
# built yet, starts the simulator on a free port with the three services' hosts aimed at it,
# prints its share links and opens the Panlift window. The simulator stops with the window.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup-machine.sh

build=build/default
panlift=$build/app/panlift/panlift
simulator=$build/tools/share_simulator/panlift-simulator
[ -f $build/build.ninja ] || cmake --preset default >/dev/null
log=$build/run-build.log
[ -x "$panlift" ] && [ -x "$simulator" ] || echo "run.sh: building panlift and panlift-simulator (the first time takes some minutes)"
if ! cmake --build $build --target panlift panlift-simulator >"$log" 2>&1; then
  tail -n 30 "$log" >&2
  echo "run.sh: building panlift and panlift-simulator failed (whole log: $log)" >&2
  exit 1
fi

# The simulator prints its address, the connect-to value and the share links, then "ready".
startup=$(mktemp)
"$simulator" --port 0 --quiet >"$startup" &
simulator_pid=$!
trap 'kill "$simulator_pid" 2>/dev/null; wait "$simulator_pid" 2>/dev/null; rm -f "$startup"' EXIT
until grep -qx ready "$startup"; do
  kill -0 "$simulator_pid" 2>/dev/null || { echo "run.sh: panlift-simulator did not start" >&2; exit 1; }
  sleep 0.1
done
field() { awk -F'\t' -v key="$1" '$1 == key { print $2 }' "$startup"; }
export PANLIFT_CONNECT_TO
PANLIFT_CONNECT_TO=$(field connect-to)

echo "panlift-simulator at $(field listening) serves these share links (paste one into its"
echo "service's box, check the service and press 解析; a click into the address box copies it):"
awk -F'\t' '$1 == "share" { printf "  %-6s  %s   %s\n", $2, $3, $4 }' "$startup"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # No display: the same program through panlift-cli, its window offscreen, on the first
  # share link of each service; the exit code is 0 when they all resolve.
  cli=$build/app/cli/panlift-cli
  if ! cmake --build $build --target panlift-cli >>"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "run.sh: building panlift-cli failed (whole log: $log)" >&2
    exit 1
  fi
  mapfile -t demo < <(awk -F'\t' '$1 == "share" && !seen[$2]++ { print $3 }' "$startup")
  echo
  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset), so panlift-cli resolves one link of each"
  echo "service through the Panlift window, offscreen (in a desktop session run.sh opens the window):"
  echo
  status=0
  "$cli" "${demo[@]}" || status=$?
  exit $status
fi

"$panlift"
