#!/usr/bin/env bash
# Runs a test program against the Firebird server that scripts/test.sh started on this
# computer; without one the test is skipped (exit 77).
if [ -z "${VELTRA_SERVER_AVAILABLE:-}" ]; then
  echo "No Firebird server for this run (scripts/test.sh starts one)."
  exit 77
fi
export VELTRA_TEST_SERVER="$VELTRA_SERVER_AVAILABLE"
exec "$@"
