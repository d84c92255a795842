#!/usr/bin/env bash
# Installs what Varnest needs to build and test on Debian 12 (run as root).
set -euo pipefail
packages=(
  build-essential cmake ninja-build
  libgtest-dev libgmock-dev libbenchmark-dev
  libboost-dev nlohmann-json3-dev libcli11-dev
  qt6-base-dev fonts-dejavu-core xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
