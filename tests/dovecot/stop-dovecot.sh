#!/usr/bin/env bash
# Stops the dovecot that start-dovecot.sh started in WORKDIR and waits for
# it to end. Leaves WORKDIR (logs) in place.
#
# usage: tests/dovecot/stop-dovecot.sh WORKDIR
set -euo pipefail

workdir="${1:?usage: stop-dovecot.sh WORKDIR}"
pidfile="$workdir/run/master.pid"
[ -f "$pidfile" ] || exit 0
pid="$(cat "$pidfile")"
if kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid"
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "stop-dovecot.sh: dovecot $pid did not stop; killing it" >&2
        kill -KILL "$pid" 2>/dev/null || true
    fi
fi
rm -f "$pidfile"
