#!/usr/bin/env bash
# usage: reaper.sh TEST_PID MARK LIST
#
# Runs in a session of its own beside an end-to-end test and stops what the
# test started should the test's shell be killed before its clean-up has
# run: ctest, ended by a signal, kills its tests outright, and the desktop's
# processes live in sessions of their own, out of reach of a signal to the
# test's process group.
#
# The test's processes are those whose environment holds MARK (every one
# the test starts inherits it), and those LIST names: one line per item,
# "pid N START" (a process whose environment cannot be read, as the program's,
# which makes itself non-dumpable), "dovecot FOLDER" (a mail server, which
# clears its environment) or "folder PATH" (removed). The test's clean-up
# stops the reaper when it has done the work itself.
set -uo pipefail

test_pid=$1
mark=$2
list=$3
readonly poll_seconds=0.2
readonly grace_polls=25  # 5 s for a process to end on SIGTERM
source_root="$(cd "$(dirname "$0")/../../../.." && pwd)"

start_time() { cut -d' ' -f22 "/proc/$1/stat" 2>/dev/null; }

# The processes carrying the mark, this one excepted.
marked() {
    local dir pid
    for dir in /proc/[0-9]*; do
        pid=${dir#/proc/}
        [ "$pid" != $$ ] && [ "$pid" != "$BASHPID" ] || continue
        { tr '\0' '\n' <"$dir/environ"; } 2>/dev/null | grep -qxF "$mark" && echo "$pid"
    done
}

# The processes the list names that still run: each line "pid N START"
# names N only while N is the process that started at START, not a later
# one that got its number.
listed() {
    local kind pid started
    while read -r kind pid started; do
        [ "$kind" = pid ] && [ "$(start_time "$pid")" = "$started" ] && echo "$pid"
    done < <(cat "$list" 2>/dev/null)
}

test_started=$(start_time "$test_pid")
[ -n "$test_started" ] || exit 0
while [ "$(start_time "$test_pid")" = "$test_started" ]; do
    sleep "$poll_seconds"
done

# The test's shell is gone without stopping the reaper: its clean-up did
# not finish.
pids=$( { marked; listed; } | sort -u)
[ -z "$pids" ] || kill -TERM $pids 2>/dev/null
for ((i = 0; i < grace_polls; i++)); do
    pids=$(for pid in $pids; do kill -0 "$pid" 2>/dev/null && echo "$pid"; done)
    [ -n "$pids" ] || break
    sleep "$poll_seconds"
done
[ -z "$pids" ] || kill -KILL $pids 2>/dev/null
while read -r kind item _; do
    case "$kind" in
        dovecot) "$source_root/tests/dovecot/stop-dovecot.sh" "$item" >/dev/null 2>&1 ;;
        folder) rm -rf "$item" ;;
    esac
done < <(cat "$list" 2>/dev/null)
exit 0
