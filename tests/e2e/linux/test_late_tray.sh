#!/usr/bin/env bash
# At login the program often starts before the panel that holds the tray.
# The window stays on the screen while there is no tray and goes to the
# tray as soon as a tray host starts: after a start in tray mode, and after
# the OK of a first run.
source "$(dirname "$0")/lib/e2e.sh"

DESKTOP_TRAY=no desktop_start "$E2E_WORK/desktop"
install_program

window_hidden() {
    ! window_shown Vantorel
}

step "start in tray mode before the tray host"
write_settings USERINFO REMOTEHOST=127.0.0.1:9 USERNAME=hanako PASSWORD=secret \
    INTERVAL=30 TIMER=1 STARTUP=True
start_vantorel
expect 15 "the window is not kept on the screen without a tray" window_shown Vantorel
shot tray-mode-no-tray

step "the tray host starts"
tray_start || fail "tint2 did not start"
expect 15 "the icon did not come into the tray that started later" tray_icon_shown
expect 10 "the window stayed on the screen once there was a tray" window_hidden
shot tray-mode-tray-came
vantorel_running || fail "the program ended"

step "the tray host starts again"
tray_stop
tray_start || fail "tint2 did not start again"
expect 15 "the icon did not come back with the new tray" tray_icon_shown
window_hidden || fail "the window came back with the new tray"
stop_vantorel
tray_stop

start_mail_server 0
map_keys "分秒"

step "a first run before the tray host"
rm -f "$PROGRAM_INI"
start_vantorel
expect 15 "the basic-settings window did not appear" window_shown Vantorel
type_into_settings "$POP3_HOST:$POP3_PORT" "$ALICE_USER" "$ALICE_PASSWORD" 30 1
xdotool key Return
first_check_done() {
    [ "$(read_setting USERINFO STARTUP)" = True ]
}
expect 30 "the first check did not accept the settings" first_check_done
window_shown Vantorel || fail "OK took the window off the screen with no tray to go to"
shot first-run-no-tray

step "the tray host starts after OK"
tray_start || fail "tint2 did not start"
expect 15 "the icon did not come into the tray after OK" tray_icon_shown
expect 10 "the window stayed on the screen once there was a tray" window_hidden
shot first-run-tray-came
message_box_texts | grep -q . && fail "a message box was shown: $(message_box_texts)"
echo "PASS [$E2E_NAME]"
