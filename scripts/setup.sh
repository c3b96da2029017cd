#!/usr/bin/env bash
# Installs what is missing from Debian's packages and builds the project into build/.
# Usage: scripts/setup.sh [--tests]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake make pkg-config qt6-base-dev libfbclient2 firebird3.0-server-core firebird-dev libssl-dev
          firebird3.0-utils libjpeg-dev fonts-liberation fonts-dejavu fonts-wine)
if [ "${1:-}" = "--tests" ]; then
  packages+=(poppler-utils xvfb libjpeg-turbo-progs libbenchmark-dev clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
if [ "${1:-}" = "--tests" ]; then
  cmake --build build -j"$(nproc)"
else
  cmake --build build -j"$(nproc)" --target veltra veltra-kts
fi
