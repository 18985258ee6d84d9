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
  echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are unset); run it again in a desktop session or over ssh -X to open the window." >&2
  exit 2
fi

"$panlift"
