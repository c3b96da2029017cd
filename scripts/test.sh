#!/usr/bin/env bash
# Installs, builds and runs every test through CTest, then each fuzzing harness for a while.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --tests
(cd build && ctest --output-on-failure -j"$(nproc)")
bash scripts/fuzz.sh 20
