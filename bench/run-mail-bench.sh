#!/usr/bin/env bash
# One mail check (STAT, then the 50 header summaries) by popmail's popcheck,
# Python's poplib and curl, each through a relay that delays every chunk by
# 10 ms in each direction. Prints the time and the round trips of each,
# over implicit TLS and over plain POP3 with STLS. Not part of ctest.
#
# usage: bench/run-mail-bench.sh [BUILD_DIR] [--results FILE --label LABEL] [--no-peers]
#   BUILD_DIR  holds popcheck (default: build)
#   --results  also adds the figures to FILE (bench/results.py), popcheck's
#              under LABEL, the peers' under "poplib" and "curl"
#   --no-peers measures popcheck only
# Needs the packages of tests/scripts/packages-popmail.txt and a built
# BUILD_DIR/popcheck.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build_arg=""
results_file=""
label=""
clients=(popcheck poplib curl)
while [ $# -gt 0 ]; do
    case "$1" in
        --results) results_file=$2; shift 2 ;;
        --label) label=$2; shift 2 ;;
        --no-peers) clients=(popcheck); shift ;;
        -*) sed -n '2,14s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
        *) build_arg=$1; shift ;;
    esac
done
build="$(cd "${build_arg:-$root/build}" && pwd)"
popcheck="$build/popcheck"
[ -x "$popcheck" ] || { echo "no $popcheck: build first" >&2; exit 1; }

readonly delay_ms=10
readonly count=50
readonly runs=5

work="$(mktemp -d)"
relay_pid=""
cleanup() {
    set +e  # stop everything, whatever fails
    if [ -n "$relay_pid" ]; then
        kill "$relay_pid" 2>/dev/null
        wait "$relay_pid" 2>/dev/null
    fi
    "$root/tests/dovecot/stop-dovecot.sh" "$work/dovecot"
    rm -rf "$work"
}
trap cleanup EXIT

"$root/tests/dovecot/start-dovecot.sh" "$work/dovecot" >/dev/null
# shellcheck source=/dev/null
source "$work/dovecot/dovecot.env"

# Debian's python3: a version manager's shim on PATH may take seconds to start.
python=/usr/bin/python3
[ -x "$python" ] || python="$(command -v python3)"

start_relay() {  # target port; the relay binds a port of the system's choice
    rm -f "$work/stats" "$work/stats.port"
    "$python" "$root/bench/relay.py" 0 "$1" "$delay_ms" "$work/stats" &
    relay_pid=$!
    # The relay writes its stats file once it listens.
    for _ in $(seq 200); do
        [ -s "$work/stats" ] && break
        sleep 0.05
    done
    read -r base_trips base_connections _ <"$work/stats"
    read -r relay_port <"$work/stats.port"
}

stop_relay() {
    kill "$relay_pid" 2>/dev/null || true
    wait "$relay_pid" 2>/dev/null || true
    relay_pid=""
}

run_popcheck() {  # mode port
    local host="pop3s://localhost:$2"
    [ "$1" = stls ] && host="localhost:$2"
    printf '%s\n' "$ALICE_PASSWORD" | "$popcheck" "$host" "$ALICE_USER" STAT "LIST 1-$count" \
        >"$work/out"
    [ "$(sed -n 3p "$work/out")" = "$(sed -n 1p "$ALICE_EXPECTED")" ]
}

run_poplib() {  # mode port
    printf '%s\n' "$ALICE_PASSWORD" |
        "$python" "$root/bench/poplib_check.py" "$1" "$2" "$ALICE_USER" "$count" >"$work/out"
}

run_curl() {  # mode port
    local url="pop3s://localhost:$2/" tls=()
    [ "$1" = stls ] && url="pop3://localhost:$2/" && tls=(--ssl-reqd)
    local common=(--silent --show-error --cacert "$SSL_CERT_FILE" "${tls[@]}"
                  -u "$ALICE_USER:$ALICE_PASSWORD" "$url")
    local args=("${common[@]}" -X STAT -I)
    for ((i = 1; i <= count; i++)); do
        args+=(--next "${common[@]}" -X "TOP $i 0")
    done
    curl "${args[@]}" >"$work/out"
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }

# The relay counts a round trip at each turn of the traffic's direction. A
# flight the client sends without waiting (after TLS 1.3's Finished, while
# the server's session tickets are under way) is counted or not as the
# chunks happen to meet, so a count can differ by one from run to run: the
# median is reported, and every run's count when they differ.
measure() {  # client mode
    local client="$1" mode="$2" target="$POP3S_PORT" times=() trips=() connections
    [ "$mode" = stls ] && target="$POP3_PORT"
    for ((run = 1; run <= runs; run++)); do
        start_relay "$target"
        local started trips_now
        started=$(now_ms)
        "run_$client" "$mode" "$relay_port" || { echo "$client $mode failed" >&2; exit 1; }
        times+=($(($(now_ms) - started)))
        sleep 0.05
        read -r trips_now connections _ <"$work/stats"
        trips+=($((trips_now - base_trips)))
        stop_relay
    done
    local time_median trips_median each=""
    time_median=$(printf '%s\n' "${times[@]}" | median)
    trips_median=$(printf '%s\n' "${trips[@]}" | median)
    [ "$(printf '%s\n' "${trips[@]}" | sort -u | wc -l)" -gt 1 ] && each="  (runs: ${trips[*]})"
    printf '%-10s %-6s %10s %12s %12s%s\n' "$client" "$mode" "$time_median" "$trips_median" \
        "$((connections - base_connections))" "$each"
    if [ -n "$results_file" ]; then
        local subject="$client"
        [ "$client" = popcheck ] && subject="${label:-popcheck}"
        "$python" "$root/bench/results.py" --add "$results_file" "$subject" \
            "mail_${mode}_round_trips" "$trips_median"
        "$python" "$root/bench/results.py" --add "$results_file" "$subject" "mail_${mode}_ms" \
            "$time_median"
    fi
}

echo "One check: STAT + $count header summaries, ${delay_ms} ms delay each way," \
     "median of $runs runs (time includes process start)"
printf '%-10s %-6s %10s %12s %12s\n' client mode "time/ms" "round trips" connections
for mode in tls stls; do
    for client in "${clients[@]}"; do
        measure "$client" "$mode"
    done
done
