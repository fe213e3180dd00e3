#!/usr/bin/env bash
# popcheck holds the password while it waits for a server: its crash leaves
# no core file where an ordinary program's crash leaves one.
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

mkdir "$work/control" "$work/popcheck"
(cd "$work/control" && exec sleep 60) &
control=$!
# Signalled before its exec, the subshell would take the signal instead.
wait_for 10 grep -qx sleep "/proc/$control/comm" || skip "the control process did not start"
kill -ABRT "$control"
wait "$control" || true
[ -n "$(ls -A "$work/control")" ] || skip "this system wrote no core file for a crash"

# A server that takes the connection and never greets: popcheck has read
# the password and waits for the greeting.
"$python" - "$work" <<'PY' &
import os, socket, sys
work = sys.argv[1]
server = socket.socket()
server.bind(("127.0.0.1", 0))
server.listen(1)
with open(work + "/port.tmp", "w") as out:
    out.write(str(server.getsockname()[1]))
os.rename(work + "/port.tmp", work + "/port")
connection, _ = server.accept()
open(work + "/accepted", "w").close()
connection.recv(1)  # until popcheck is gone
PY
pids+=($!)
wait_for 10 test -s "$work/port" || fail "the silent server did not start"

(cd "$work/popcheck" && exec "$popcheck" "pop3://127.0.0.1:$(cat "$work/port")" alice STAT \
    <<<"core-Secret-7" >/dev/null) &
popcheck_pid=$!
pids+=("$popcheck_pid")
wait_for 10 test -e "$work/accepted" || fail "popcheck did not connect"
kill -ABRT "$popcheck_pid"
status=0
wait "$popcheck_pid" || status=$?
[ "$status" -gt 128 ] || fail "popcheck did not end by the signal (status $status)"
cores=$(find "$work/popcheck" -maxdepth 1 -name 'core*')
[ -z "$cores" ] || fail "the crash left a core file: $cores"
echo "ok: no core file"
