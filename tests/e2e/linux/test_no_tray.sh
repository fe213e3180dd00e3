#!/usr/bin/env bash
# Without a tray host the program says so once on standard error and keeps
# the basic-settings window on the screen instead of vanishing, also after
# OK; it keeps running (its check timer runs as in tray mode).
source "$(dirname "$0")/lib/e2e.sh"

DESKTOP_TRAY=no desktop_start "$E2E_WORK/desktop"
install_program
write_settings USERINFO REMOTEHOST=127.0.0.1:9 USERNAME=hanako PASSWORD=secret \
    INTERVAL=30 TIMER=1 STARTUP=True

step "start in tray mode with no tray"
start_vantorel
expect 15 "the basic-settings window is not shown" window_shown Vantorel
expect 5 "standard error does not say that there is no tray" grep -q "no system tray" "$PROGRAM_LOG"
shot window-kept
[ "$(grep -c "no system tray" "$PROGRAM_LOG")" = 1 ] || fail "the missing tray was reported more than once"
vantorel_running || fail "the program ended"
window_shown Vantorel || fail "the window went away"

step "OK leaves the window on the screen"
type_into_settings 127.0.0.1:9 hanako secret 31 1
xdotool key Return
interval_saved() {
    [ "$(read_setting USERINFO INTERVAL)" = 31 ]
}
expect 10 "OK did not save the settings" interval_saved
window_shown Vantorel || fail "OK took the window off the screen with no tray to go to"
shot after-ok
echo "PASS [$E2E_NAME]"
