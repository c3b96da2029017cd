#!/usr/bin/env bash
# A Firebird server on this computer for the tests that go through one.
#   scripts/firebird_server.sh start STATE   installs firebird3.0-server when missing (without
#                                            questions: a random SYSDBA password is preseeded),
#                                            starts it when nothing listens on 127.0.0.1:3050,
#                                            listening on the loopback address only, and makes
#                                            a test account (which owns the test databases) and
#                                            a clerk's account without rights of its own; prints
#                                            the lines to source
#   scripts/firebird_server.sh stop STATE    removes the test accounts and stops the server if
#                                            this script started it; nothing else
# STATE is a folder of this run (made by the caller) that remembers what was started.
set -euo pipefail
action=${1:?start or stop}
state=${2:?state folder}
conf=/etc/firebird/3.0/firebird.conf
password_file=/etc/firebird/3.0/SYSDBA.password
test_user=VELTRA_TEST
clerk_user=VELTRA_TEST_CLERK

listening() { (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; }

sysdba_password() {
  # shellcheck disable=SC1090
  ( . "$password_file" && printf '%s' "$ISC_PASSWORD" )
}

# Runs SQL as SYSDBA through the server, on a scratch database of its own.
as_sysdba() {
  local scratch="$state/scratch"
  mkdir -p "$scratch" && chmod 0777 "$scratch"
  {
    echo "CREATE DATABASE 'localhost:$scratch/scratch.fdb' USER 'SYSDBA' PASSWORD '$(sysdba_password)';"
    cat
    echo "COMMIT; DROP DATABASE;"
  } | isql-fb -q -b >/dev/null
}

case "$action" in
start)
  if ! dpkg-query -W -f='${Status}' firebird3.0-server 2>/dev/null | grep -q "install ok installed"; then
    echo "firebird3.0-server shared/firebird/sysdba_password/first_install password $(head -c 12 /dev/urandom | base64 | tr -dc A-Za-z0-9)" \
      | debconf-set-selections
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq firebird3.0-server >/dev/null
  fi
  [ -r "$password_file" ] || { echo "No $password_file: the SYSDBA password of this server is unknown." >&2; exit 1; }
  if ! listening; then
    # Debian's configuration listens on localhost only; a run of ours makes sure of it.
    grep -q '^RemoteBindAddress *= *\(localhost\|127\.0\.0\.1\)' "$conf" \
      || { echo "$conf does not bind Firebird to the loopback address; not starting it." >&2; exit 1; }
    mkdir -p "$state/run" && chown firebird:firebird "$state/run"
    runuser -u firebird -- /usr/sbin/fbguard -pidfile "$state/run/fbguard.pid" -daemon -forever
    for _ in $(seq 100); do listening && break; sleep 0.1; done
    listening || { echo "The Firebird server did not start." >&2; exit 1; }
    echo started > "$state/started"
  fi
  head -c 12 /dev/urandom | base64 | tr -dc A-Za-z0-9 > "$state/password"
  head -c 12 /dev/urandom | base64 | tr -dc A-Za-z0-9 > "$state/clerk_password"
  printf "CREATE OR ALTER USER %s PASSWORD '%s';\nGRANT CREATE DATABASE TO USER %s;\nCREATE OR ALTER USER %s PASSWORD '%s';\n" \
    "$test_user" "$(cat "$state/password")" "$test_user" "$clerk_user" "$(cat "$state/clerk_password")" | as_sysdba
  echo "export VELTRA_SERVER_AVAILABLE=localhost VELTRA_SERVER_USER=$test_user VELTRA_SERVER_PASSWORD=$(cat "$state/password")" \
    "VELTRA_SERVER_CLERK_USER=$clerk_user VELTRA_SERVER_CLERK_PASSWORD=$(cat "$state/clerk_password")"
  ;;
stop)
  if listening; then
    printf "REVOKE CREATE DATABASE FROM USER %s;\nDROP USER %s;\nDROP USER %s;\n" "$test_user" "$test_user" "$clerk_user" \
      | as_sysdba || true
  fi
  if [ -f "$state/started" ]; then
    kill "$(cat "$state/run/fbguard.pid")" 2>/dev/null || true
    for _ in $(seq 100); do listening || break; sleep 0.1; done
  fi
  ;;
*)
  echo "Usage: $0 start|stop STATE" >&2
  exit 2
  ;;
esac
