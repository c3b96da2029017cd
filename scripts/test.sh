#!/usr/bin/env bash
# Installs, builds and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --tests
cd build
ctest --output-on-failure -j"$(nproc)"
