#!/usr/bin/env bash
# The working set and the private bytes of vantorel.exe resting in the tray
# under Wine. Indicative only: Wine takes both from the Unix process, which
# holds Wine's own libraries too. The working set is what
# GetProcessMemoryInfo tells a Windows program (VmRSS); for the private
# bytes Wine 8.0 tells another process 0, so they are read as later Wine
# versions compute them, RssAnon + VmSwap of the Unix process.
#
# usage: bench/wine-tray-memory.sh WIN_BUILD_DIR [--results FILE --label LABEL]
# Runs in a private Wine session of its own (tests/win/wine-session.sh):
# fresh prefix, private X display, everything stopped at the end.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

readonly start_timeout=60   # s for the program to come up under Wine
readonly settle_seconds=10  # s from its appearance to the first reading
readonly samples=3          # readings, 2 s apart; the last is reported
readonly unused_port=9      # the settings name a server; no check comes this early

build="" results_file="" label=""
while [ $# -gt 0 ]; do
    case "$1" in
        --results) results_file=$2; shift 2 ;;
        --label) label=$2; shift 2 ;;
        -*) sed -n '7,8s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
        *) build="$(cd "$1" && pwd)"; shift ;;
    esac
done
[ -f "$build/vantorel.exe" ] || { echo "wine-tray-memory.sh: no vantorel.exe in '$build'" >&2; exit 2; }

if [ -z "${VANTOREL_WINE_SESSION:-}" ]; then
    "$root/tests/win/ensure-locale.sh"
    args=("$build")
    [ -n "$results_file" ] && args+=(--results "$(realpath "$results_file")" --label "$label")
    exec "$root/tests/win/wine-session.sh" "$0" "${args[@]}"
fi

python=/usr/bin/python3
[ -x "$python" ] || python="$(command -v python3)"
work="$(mktemp -d "${TMPDIR:-/tmp}/vantorel-wine-bench.XXXXXX")"
program_pid=""
cleanup() {
    set +e
    if [ -n "$program_pid" ]; then
        kill "$program_pid" 2>/dev/null
        wait "$program_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

x86_64-w64-mingw32-g++ -std=c++20 -O2 -Wall -Wextra -Werror -municode -static \
    -o "$work/process-memory.exe" "$root/bench/win/process_memory.cpp" -lpsapi

mkdir "$work/program"
cp "$build/vantorel.exe" "$work/program/"
[ -f "$build/popmail.dll" ] && cp "$build/popmail.dll" "$work/program/"
wav_path="Z:$(echo "$work/program/bench.wav" | tr / '\\')"
echo "bench-password" | "$python" "$root/bench/program_settings.py" \
    "$work/program/vantorel.ini" "127.0.0.1:$unused_port" bench 30 \
    OPTION IGNOREERR=False SOUND "WAVEPATH=$wav_path"

memory() { wine "$work/process-memory.exe" vantorel.exe 2>/dev/null | tr -d '\r'; }

(cd "$work/program" && exec wine vantorel.exe) >"$work/program.log" 2>&1 &
program_pid=$!
for _ in $(seq $((start_timeout * 2))); do
    [ -n "$(memory)" ] && break
    sleep 0.5
done
[ -n "$(memory)" ] || { echo "wine-tray-memory.sh: vantorel.exe did not start" >&2; exit 1; }
sleep "$settle_seconds"
# `wine` execs the loader, which becomes vantorel.exe: the same Unix process.
grep -q '^Name:.*vantorel' "/proc/$program_pid/status" ||
    { echo "wine-tray-memory.sh: process $program_pid is not vantorel.exe" >&2; exit 1; }
unix_kib() {  # FIELD...: their sum in the process's status, in KiB
    awk -v fields=" $* " 'index(fields, " " substr($1, 1, length($1) - 1) " ") { sum += $2 }
        END { print sum + 0 }' "/proc/$program_pid/status"
}
for ((i = 1; i <= samples; i++)); do
    reading=$(memory)
    read -r _ working_set <<<"$(sed -n 1p <<<"$reading")"
    read -r _ private <<<"$(sed -n 2p <<<"$reading")"
    rss=$(unix_kib VmRSS)
    anonymous=$(unix_kib RssAnon VmSwap)
    [ "$private" -gt 0 ] || private=$anonymous
    awk -v i="$i" -v w="$working_set" -v p="$private" -v r="$rss" -v a="$anonymous" 'BEGIN {
        printf "  reading %d: working set %.1f MiB, private bytes %.1f MiB" \
               " (Unix side: VmRSS %.1f, RssAnon + VmSwap %.1f MiB)\n",
               i, w / 1024, p / 1024, r / 1024, a / 1024 }'
    [ "$i" -lt "$samples" ] && sleep 2
done
if [ -n "$results_file" ]; then
    "$python" "$root/bench/results.py" --add "$results_file" "$label" win_working_set_kib "$working_set"
    "$python" "$root/bench/results.py" --add "$results_file" "$label" win_private_kib "$private"
fi
