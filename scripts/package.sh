#!/usr/bin/env bash
# Builds the Debian package of Panlift: sets the machine up, builds what the package holds
# (the programs and their data files, in the default preset) and runs cpack there. The .deb
# lands in build/default/packages/.
#   ./scripts/package.sh
#   sudo apt-get install ./build/default/packages/panlift_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup-machine.sh

build=build/default
[ -f $build/build.ninja ] || cmake --preset default >/dev/null
cmake --build $build --target package_contents
cpack --config $build/CPackConfig.cmake -G DEB -B $build/packages
ls $build/packages/*.deb
