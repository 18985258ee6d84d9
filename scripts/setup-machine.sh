#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the tools need.
# Idempotent and quiet when everything is already there. Run as root (or with sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libboost-regex-dev libcurl4-openssl-dev libssl-dev qt6-base-dev duktape-dev
  libcpp-httplib-dev nlohmann-json3-dev
  fonts-wqy-microhei openssl curl python3
  librsvg2-bin help2man desktop-file-utils appstream dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup-machine: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
