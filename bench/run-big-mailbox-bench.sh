#!/usr/bin/env bash
# One check of a large mailbox by popcheck (STAT, then LIST 1-N over
# implicit TLS against a local dovecot): prints the time of the whole check
# and popcheck's peak memory for each N. Not part of ctest.
#
# usage: bench/run-big-mailbox-bench.sh [BUILD_DIR [N...]]
#        (default: build, 12000 and 32767 messages)
# Needs the packages of tests/scripts/packages-popmail.txt and a built
# BUILD_DIR/popcheck.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
shift || true
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(12000 32767)
popcheck="$build/popcheck"
[ -x "$popcheck" ] || { echo "no $popcheck: build first" >&2; exit 1; }
python=/usr/bin/python3
[ -x "$python" ] || python="$(command -v python3)"

work="$(mktemp -d)"
cleanup() {
    set +e  # stop everything, whatever fails
    "$root/tests/dovecot/stop-dovecot.sh" "$work/dovecot"
    rm -rf "$work"
}
trap cleanup EXIT

"$root/tests/dovecot/start-dovecot.sh" "$work/dovecot" >/dev/null
# shellcheck source=/dev/null
source "$work/dovecot/dovecot.env"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

printf '%8s %14s %14s %16s\n' messages "first check/ms" "second/ms" "peak memory/KiB"
for count in "${counts[@]}"; do
    user="big$count"
    "$python" "$root/popmail/tests/integration/make-big-mailbox.py" \
        "$work/dovecot" "$user" bench-Secret "$count"
    times=()
    # The first check also has dovecot index the new Maildir.
    for run in 1 2; do
        started=$(now_ms)
        printf 'bench-Secret\n' | /usr/bin/time -f '%M' -o "$work/peak" \
            "$popcheck" "pop3s://localhost:$POP3S_PORT" "$user" STAT "LIST 1-$count" >"$work/out"
        times+=($(($(now_ms) - started)))
        [ "$(sed -n 3p "$work/out")" = "$(sed -n 1p "$work/dovecot/home/$user.expected")" ] ||
            { echo "LIST $count failed: $(head -c 300 "$work/out")" >&2; exit 1; }
    done
    printf '%8s %14s %14s %16s\n' "$count" "${times[0]}" "${times[1]}" "$(cat "$work/peak")"
done
