#!/usr/bin/env bash
# A test server whose port was taken between its choice and dovecot's bind
# says so and starts on fresh ports: the first ports it tries include one
# that another process holds.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d "${TMPDIR:-/tmp}/vantorel-bind-retry.XXXXXX")
holder=""
cleanup() {
    "$here/stop-dovecot.sh" "$work/dovecot" >/dev/null 2>&1 || true
    [ -z "$holder" ] || kill "$holder" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A listening socket held by another process, and two free ports.
python3 -c '
import socket, sys, time
held = socket.socket(); held.bind(("127.0.0.1", 0)); held.listen()
free = [socket.socket() for _ in range(2)]
for s in free: s.bind(("127.0.0.1", 0))
print(held.getsockname()[1], *(s.getsockname()[1] for s in free), flush=True)
for s in free: s.close()
time.sleep(600)
' >"$work/ports" &
holder=$!
for _ in $(seq 50); do [ -s "$work/ports" ] && break; sleep 0.1; done
read -r taken other1 other2 <"$work/ports"

DOVECOT_FIRST_PORTS="$taken $other1 $other2" \
    "$here/start-dovecot.sh" "$work/dovecot" 2>"$work/stderr" >/dev/null || {
    echo "FAIL: the server did not start after port $taken was found taken"
    cat "$work/stderr"
    exit 1
}
grep -q "dovecot-bind retry: a port of $taken " "$work/stderr" || {
    echo "FAIL: no retry was said for the taken port $taken"
    cat "$work/stderr"
    exit 1
}
source "$work/dovecot/dovecot.env"
echo "port $taken was taken; the server started on ${POP3_PORT:-?} after saying so"
