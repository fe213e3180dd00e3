#!/usr/bin/env bash
# The private X server outlives its clients: when every client has left
# (window manager, tray, the connection the desktop holds open), the server
# does not reset, so a client that starts at that moment still finds the
# desktop as it was. A reset would clear the root window's properties, so
# one set beforehand must still be there afterwards.
# The desktop starts in a deep folder, as in a checkout far from /, where a
# socket inside it would pass the 107 bytes a socket's path may have.
source "$(dirname "$0")/lib/e2e.sh"

readonly mark=VANTOREL_SERVER_MARK
readonly deep_folder="$E2E_WORK/$(printf 'deep%.0s' {1..30})"

desktop_start "$deep_folder/desktop"

step "a property on the root window, then every client leaves"
xprop -root -f "$mark" 8s -set "$mark" "kept" || fail "the root window property could not be set"
tray_stop
# The session bus and the X server are the first two of the desktop's
# processes; the rest are its clients.
for pid in "${DESKTOP_PIDS[@]:2}"; do
    stop_group "$pid"
done
process_alive "${DESKTOP_PIDS[1]}" || fail "the X server ended with its clients"

step "clients come and go: the server has not reset"
for _ in 1 2 3; do
    xdpyinfo >/dev/null || fail "the display does not answer after its clients left"
done
xprop -root "$mark" | grep -q '"kept"' || fail "the server reset: the root window lost its property"
echo "PASS [$E2E_NAME]"
