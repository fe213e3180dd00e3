#!/usr/bin/env bash
# Whatever way a desktop session ends, it leaves no process behind: an
# end-to-end test that fails, one interrupted by Ctrl-C and one killed
# outright (each with a private desktop, dovecot, the program and a target
# window), and ./run --demo interrupted by Ctrl-C. Every process those start
# carries a mark in its environment; dovecot, which clears its environment,
# is found by its folder and instance name.
set -euo pipefail
: "${VANTOREL_BUILD:?}" "${VANTOREL_SOURCE:?}"
source "$VANTOREL_SOURCE/tests/e2e/linux/lib/desktop.sh"

readonly ready_timeout=120
readonly end_timeout=60
readonly sigint_status=130

NAME=test_no_orphans
MARK="vantorel-orphan-check-$$-$RANDOM"
work=$(mktemp -d "${TMPDIR:-/tmp}/vantorel-orphans.XXXXXX")
session=""

# The processes still running that a session started, one "pid command"
# per line.
leftovers() {
    local dir pid folders=()
    for dir in "$work"/dovecot-*; do
        [ -f "$dir" ] && mapfile -t -O "${#folders[@]}" folders <"$dir"
    done
    for dir in /proc/[0-9]*; do
        pid=${dir#/proc/}
        [ "$pid" != $$ ] && [ "$pid" != "$BASHPID" ] || continue
        process_alive "$pid" || continue
        if { tr '\0' '\n' <"$dir/environ"; } 2>/dev/null | grep -qxF "VANTOREL_ORPHAN_MARK=$MARK" ||
            { [ ${#folders[@]} -gt 0 ] &&
                { tr '\0' ' ' <"$dir/cmdline"; } 2>/dev/null | grep -qF "${folders[@]/#/-e}"; }; then
            echo "$pid $({ tr '\0' ' ' <"$dir/cmdline"; } 2>/dev/null)"
        fi
    done
}

# On any end of this test: nothing it started may stay.
cleanup() {
    local status=$? pid
    if [ -n "$session" ]; then
        kill -KILL -- "-$session" 2>/dev/null || true
    fi
    for pid in $(leftovers | cut -d' ' -f1); do
        kill -KILL "$pid" 2>/dev/null || true
    done
    # The folders of the sessions' mail servers, should they remain.
    local note folder
    for note in "$work"/dovecot-*; do
        [ -f "$note" ] || continue
        folder=$(head -n1 "$note")
        case "$folder" in
            */vantorel-dovecot.*)
                "$VANTOREL_SOURCE/tests/dovecot/stop-dovecot.sh" "$folder" >/dev/null 2>&1 || true
                rm -rf "$folder"
                ;;
        esac
    done
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
    echo "FAIL [$NAME]: $*" >&2
    exit 1
}

# start_session LOG COMMAND...: runs COMMAND in a session of its own, as a
# terminal would run it, with the mark in its environment. (A command this
# script starts in the background would ignore SIGINT, as would every
# shell it runs: a terminal's command does not.)
start_session() {
    local log=$1
    shift
    VANTOREL_ORPHAN_MARK=$MARK python3 -c '
import os, signal, sys
signal.signal(signal.SIGINT, signal.SIG_DFL)
os.setsid()
os.execvp(sys.argv[1], sys.argv[1:])' "$@" >"$log" 2>&1 </dev/null &
    session=$!
}

# end_session LOG: waits for the session's command; its status goes to
# $status.
end_session() {
    status=0
    wait_gone "$end_timeout" "$session" || {
        sed 's/^/  /' "$1" >&2
        fail "the session did not end"
    }
    wait "$session" || status=$?
    session=""
}

no_leftovers() {
    [ -z "$(leftovers)" ]
}

expect_no_leftovers() {
    local left
    left=$(leftovers)
    [ -z "$left" ] || fail "$1 left processes behind:
$left"
}

# note_dovecot WORKDIR: what names a mail server's processes: its folder
# (the master's command line) and its instance (its other processes').
note_dovecot() {
    readlink -f "$1"
    sed -n 's/^instance_name = \(.*\)$/dovecot-\1\//p' "$1/dovecot.conf"
}
export -f note_dovecot

# A test of its own, written as the end-to-end tests are; after setting
# everything up it fails, or waits to be interrupted.
script="$work/session_case.sh"
cat >"$script" <<'CASE'
source "$VANTOREL_SOURCE/tests/e2e/linux/lib/e2e.sh"
desktop_start "$E2E_WORK/desktop"
start_mail_server 1
note_dovecot "$E2E_DOVECOT" >"$CASE_DOVECOT_NOTE"
install_program
write_settings USERINFO "REMOTEHOST=$POP3_HOST:$POP3_PORT" "USERNAME=$ALICE_USER" \
    "PASSWORD=$ALICE_PASSWORD" INTERVAL=30 TIMER=2 STARTUP=True
start_vantorel
start_target "orphan check"
record_titles "$TARGET"
if [ "$CASE_END" = failure ]; then
    fail "ends here on purpose"
fi
touch "$CASE_READY"
while :; do sleep 1; done
CASE

# start_waiting_case NAME: starts the case that waits to be ended, with its
# log, dovecot note and ready mark named NAME, and waits until it is ready.
start_waiting_case() {
    local name=$1
    CASE_END=wait CASE_DOVECOT_NOTE="$work/dovecot-$name" CASE_READY="$work/ready-$name" \
        start_session "$work/$name.log" bash "$script"
    wait_for "$ready_timeout" test -e "$work/ready-$name" || {
        cat "$work/$name.log" >&2
        fail "the $name test did not get ready"
    }
}

echo "[$NAME] an end-to-end test that fails"
CASE_END=failure CASE_DOVECOT_NOTE="$work/dovecot-failure" CASE_READY="$work/ready-failure" \
    start_session "$work/failure.log" bash "$script"
end_session "$work/failure.log"
grep -q "ends here on purpose" "$work/failure.log" || {
    cat "$work/failure.log" >&2
    fail "the failing test did not get as far as its failure"
}
[ "$status" -ne 0 ] || fail "the failing test ended with status 0"
expect_no_leftovers "a failed test"

echo "[$NAME] an end-to-end test interrupted by Ctrl-C"
start_waiting_case interrupt
kill -INT -- "-$session"
end_session "$work/interrupt.log"
[ "$status" -eq "$sigint_status" ] || fail "Ctrl-C ended the test with status $status"
expect_no_leftovers "an interrupted test"

echo "[$NAME] an end-to-end test killed outright, as ctest kills its tests when it is ended by a signal"
start_waiting_case killed
kill -KILL -- "-$session"
end_session "$work/killed.log"
# No clean-up of the test ran: its reaper stops what it started.
wait_for "$end_timeout" no_leftovers || true
expect_no_leftovers "a killed test"
[ ! -e "$(head -n1 "$work/dovecot-killed")" ] || fail "the killed test left dovecot's folder behind"

echo "[$NAME] ./run --demo interrupted by Ctrl-C"
# Its throw-away folder goes into ours, where dovecot's link can be found.
TMPDIR=$work start_session "$work/run.log" env -u DISPLAY -u WAYLAND_DISPLAY \
    "$VANTOREL_SOURCE/run" --demo --no-build
wait_for "$ready_timeout" grep -q "^Vantorel runs" "$work/run.log" || {
    cat "$work/run.log" >&2
    fail "./run --demo did not start the program"
}
note_dovecot "$work"/vantorel-run.*/dovecot >"$work/dovecot-run"
kill -INT -- "-$session"
end_session "$work/run.log"
[ "$status" -eq "$sigint_status" ] || fail "Ctrl-C ended ./run with status $status"
expect_no_leftovers "./run --demo"
[ ! -e "$(head -n1 "$work/dovecot-run")" ] || fail "./run left dovecot's folder behind"
echo "[$NAME] no process left behind"
