#!/usr/bin/env bash
# The program holds the mail password: its crash leaves no core file where
# an ordinary program's crash leaves one.
source "$(dirname "$0")/lib/e2e.sh"

skip() {
    echo "SKIP [$E2E_NAME]: $*"
    trap - EXIT
    exit 77
}

# Core files are looked for in the crashed process's folder: where this
# system writes them unless its core_pattern names a program or a folder.
pattern="$(cat /proc/sys/kernel/core_pattern)"
case "$pattern" in
    '|'* | /*) skip "core files go to $pattern" ;;
esac
ulimit -c unlimited 2>/dev/null || skip "core files may not be written (ulimit -c)"

step "an ordinary program's crash leaves a core file here"
mkdir -p "$E2E_WORK/control"
(cd "$E2E_WORK/control" && exec sleep 60) &
control=$!
# Signalled before its exec, the subshell would take the signal instead.
wait_for 10 grep -qx sleep "/proc/$control/comm" || skip "the control process did not start"
kill -ABRT "$control"
wait "$control" || true
[ -n "$(ls -A "$E2E_WORK/control")" ] || skip "this system wrote no core file for a crash"

desktop_start "$E2E_WORK/desktop"
install_program
write_settings USERINFO REMOTEHOST=127.0.0.1:9 USERNAME=hanako PASSWORD=core-Secret-7 \
    INTERVAL=30 TIMER=1 STARTUP=True

step "the program runs in the tray"
cd "$PROGRAM_DIR"
start_vantorel
expect 15 "the icon did not appear in the tray" tray_icon_shown

step "its crash leaves none"
kill -ABRT "$VANTOREL_PID"
status=0
wait "$VANTOREL_PID" || status=$?
VANTOREL_PID=""
[ "$status" -gt 128 ] || fail "the program did not end by the signal (status $status)"
cores=$(find "$PROGRAM_DIR" -maxdepth 1 -name 'core*')
[ -z "$cores" ] || fail "the crash left a core file: $cores"
echo "PASS [$E2E_NAME]"
