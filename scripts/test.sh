#!/usr/bin/env bash
# Installs, builds and runs every test through CTest, the database tests that matter a second
# time through a Firebird server on this computer, then each fuzzing harness for a while.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --tests

state=$(mktemp -d)
chmod 0755 "$state"
trap 'bash scripts/firebird_server.sh stop "$state"; rm -rf "$state"' EXIT
eval "$(bash scripts/firebird_server.sh start "$state")"

(cd build && ctest --output-on-failure -j"$(nproc)")
bash scripts/fuzz.sh 20
