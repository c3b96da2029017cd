#!/usr/bin/env bash
# Installs, builds, creates the database file beside the program when it is missing, and starts VELTRA.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bin="$PWD/build/bin"
[ -e "$bin/VT.FDB" ] || "$bin/veltra" --create-database "$bin/VT.FDB"
exec "$bin/veltra" "$@"
