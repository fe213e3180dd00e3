#!/usr/bin/env bash
# Runs one Windows program under Wine, with a time limit: CTest's emulator
# for the cross build. Inside a session of wine-session.sh it uses that
# session's prefix; alone it starts a session of its own for this one run.
#
#   tests/win/wine-run.sh build-win64/vantorel_tests.exe --gtest_brief=1
#
# On a busy machine Wine now and then fails to start a program at all: it
# ends at once with only its own loader's complaint on standard error, or
# with no output at all. Such a start, and only such a start, is made
# again (the program never ran, so its input is still unread), with a line
# "wine-start retry: ..." on standard error and in the session's tally,
# which wine-session.sh reports at its end. A program that ran and failed
# is never run again.
set -euo pipefail

if [ -z "${VANTOREL_WINE_SESSION:-}" ]; then
    exec "$(dirname "$0")/wine-session.sh" "$0" "$@"
fi

readonly start_attempts=3
readonly kill_grace=5
readonly tally="$VANTOREL_WINE_SESSION/wine-start-retries"

# True when the output is Wine's refusal to start the program: nothing on
# standard output, and standard error holds lines of Wine's loader only
# (not a crash report of a program that ran), or nothing at all: every
# program the tests run prints something when it fails (a GoogleTest
# program its banner before any test), so a failure in total silence is a
# start that never reached the program.
wine_did_not_start() {
    local out=$1 err=$2
    [ ! -s "$out" ] || return 1
    [ -s "$err" ] || return 0
    ! grep -qv -e '^wine: could not load' -e '^wine: failed to' \
        -e '^wine client error' -e '^wineserver: ' -e '^$' "$err"
}

output=$(mktemp -d "${TMPDIR:-/tmp}/vantorel-wine-run.XXXXXX")
trap 'rm -rf "$output"' EXIT

for ((attempt = 1; ; attempt++)); do
    status=0
    timeout --kill-after="$kill_grace" "${VANTOREL_WINE_TIMEOUT:-120}" wine "$@" \
        >"$output/out" 2>"$output/err" || status=$?
    cat "$output/out"
    cat "$output/err" >&2
    if [ "$status" -ne 0 ] && [ ! -s "$output/out" ] && [ ! -s "$output/err" ]; then
        echo "wine-run: $(basename "$1") ended with status $status and printed nothing" >&2
    fi
    if [ "$status" -eq 0 ] || [ "$attempt" -ge "$start_attempts" ] ||
        ! wine_did_not_start "$output/out" "$output/err"; then
        exit "$status"
    fi
    note="wine-start retry: $(basename "$1") (attempt $attempt ended with status $status: $(head -n1 "$output/err"))"
    echo "$note" >&2
    echo "$note" >>"$tally"
done
