#!/usr/bin/env bash
# Stops the dovecot that start-dovecot.sh (or start-dovecot-oauth2.sh)
# started in WORKDIR, waits for it to end and removes the server's folder;
# WORKDIR is left as a plain folder holding dovecot.log.
#
# usage: tests/dovecot/stop-dovecot.sh WORKDIR
set -euo pipefail

readonly stop_polls=100   # of 0.05 s each

workdir="${1:?usage: stop-dovecot.sh WORKDIR}"
pidfile="$workdir/run/master.pid"
if [ -f "$pidfile" ]; then
    pid="$(cat "$pidfile")"
    if kill -0 "$pid" 2>/dev/null; then
        kill -TERM "$pid"
        for _ in $(seq "$stop_polls"); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.05
        done
        if kill -0 "$pid" 2>/dev/null; then
            echo "stop-dovecot.sh: dovecot $pid did not stop; killing it" >&2
            kill -KILL "$pid" 2>/dev/null || true
        fi
    fi
    rm -f "$pidfile"
fi

# The server's own folder goes; its log stays where the caller looks.
if [ -L "$workdir" ]; then
    server=$(readlink -f "$workdir")
    rm -f "$workdir"
    mkdir -p "$workdir"
    case "$server" in
        */vantorel-dovecot.*)
            cp "$server/dovecot.log" "$workdir/" 2>/dev/null || true
            rm -rf "$server"
            ;;
    esac
fi
