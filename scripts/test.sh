#!/usr/bin/env bash
# Sets up the machine, builds both presets and runs the whole suite in each.
# Any failure ends the script with a non-zero status.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup-machine.sh

for preset in default sanitize; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: test"
  ctest --preset "$preset"
done
echo "== all tests passed in both presets"
