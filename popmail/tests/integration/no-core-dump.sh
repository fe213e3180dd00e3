#!/usr/bin/env bash
# popcheck holds the password (with --oauth2 the access token) while it
# waits for a server: its crash leaves no core file where an ordinary
# program's crash leaves one.
# usage: no-core-dump.sh POPCHECK      (exit 77: skipped)
set -euo pipefail

popcheck="$1"
python=/usr/bin/python3
[ -x "$python" ] || python="$(command -v python3)"
work="$(mktemp -d)"
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    exit 1
}
skip() {
    echo "SKIP: $*"
    exit 77
}

# wait_for SECONDS COMMAND...: polls until the command succeeds.
wait_for() {
    local tries=$(($1 * 20))
    shift
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.05
    done
}

# Core files are looked for in the crashed process's folder: where this
# system writes them unless its core_pattern names a program or a folder.
pattern="$(cat /proc/sys/kernel/core_pattern)"
case "$pattern" in
    '|'* | /*) skip "core files go to $pattern" ;;
esac
ulimit -c unlimited 2>/dev/null || skip "core files may not be written (ulimit -c)"

mkdir "$work/control"
(cd "$work/control" && exec sleep 60) &
control=$!
# Signalled before its exec, the subshell would take the signal instead.
wait_for 10 grep -qx sleep "/proc/$control/comm" || skip "the control process did not start"
kill -ABRT "$control"
wait "$control" || true
[ -n "$(ls -A "$work/control")" ] || skip "this system wrote no core file for a crash"

# A server that takes each connection and never greets: popcheck has read
# the secret and waits for the greeting. It marks the Nth connection with
# the file accepted-N.
"$python" - "$work" <<'PY' &
import os, socket, sys
work = sys.argv[1]
server = socket.socket()
server.bind(("127.0.0.1", 0))
server.listen(2)
with open(work + "/port.tmp", "w") as out:
    out.write(str(server.getsockname()[1]))
os.rename(work + "/port.tmp", work + "/port")
held = []
while True:
    connection, _ = server.accept()
    held.append(connection)  # kept open until this server is killed
    open("%s/accepted-%d" % (work, len(held)), "w").close()
PY
pids+=($!)
wait_for 10 test -s "$work/port" || fail "the silent server did not start"

# crash_popcheck N SECRET [--oauth2]: starts popcheck in a folder of its
# own, crashes it once it has connected (the Nth connection) and fails if
# that left a core file.
crash_popcheck() {
    local n="$1" secret="$2" here="$work/popcheck-$1"
    shift 2
    local what="popcheck${*:+ $*}"
    mkdir "$here"
    (cd "$here" && exec "$popcheck" "$@" "pop3://127.0.0.1:$(cat "$work/port")" alice STAT \
        <<<"$secret" >/dev/null) &
    local popcheck_pid=$!
    pids+=("$popcheck_pid")
    wait_for 10 test -e "$work/accepted-$n" || fail "$what did not connect"
    kill -ABRT "$popcheck_pid"
    local status=0
    wait "$popcheck_pid" || status=$?
    [ "$status" -gt 128 ] || fail "$what did not end by the signal (status $status)"
    local cores
    cores=$(find "$here" -maxdepth 1 -name 'core*')
    [ -z "$cores" ] || fail "the crash of $what left a core file: $cores"
}

crash_popcheck 1 "core-Secret-7"
crash_popcheck 2 "core-Token-7" --oauth2
echo "ok: no core file, with a password or an access token"
