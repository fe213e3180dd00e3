#!/usr/bin/env bash
# Starting with accepted settings puts the icon into the tray and no window
# on the screen; the icon comes back when the tray host restarts; a
# right-button press opens the tray menu; a double-click on the icon brings
# back the basic-settings window. A failed check with "エラーを表示" off
# opens no box but marks the icon (screenshots of the icon before and after).
source "$(dirname "$0")/lib/e2e.sh"

desktop_start "$E2E_WORK/desktop"
install_program
write_settings USERINFO REMOTEHOST=127.0.0.1:9 USERNAME=hanako PASSWORD=secret \
    INTERVAL=30 TIMER=1 STARTUP=True OPTION IGNOREERR=False

step "start in tray mode"
start_vantorel
expect 15 "the icon did not appear in the tray" tray_icon_shown
window_shown Vantorel && fail "the basic-settings window is shown in tray mode"
shot tray-icon

step "the icon comes back when the tray host restarts"
tray_stop
expect 10 "the icon outlived the tray host" tray_icon_gone
tray_start
expect 15 "the icon did not come back to the new tray" tray_icon_shown
vantorel_running || fail "the program ended with the tray host"

step "a right-button press opens the tray menu"
click_tray 3
expect 10 "the tray menu did not open" popup_menu_shown
shot tray-menu
xdotool key Escape
expect 10 "the tray menu did not close" popup_menu_gone
vantorel_running || fail "the program ended"

step "a failed check with errors hidden marks the icon"
icon_shot icon-normal
# 今すぐチェック against a port where no server listens.
tray_menu_choose 4
expect 20 "the icon did not change after the failed check" icon_differs icon-error icon-normal
shot tray-error
message_box >/dev/null && fail "a box opened with エラーを表示 off"
vantorel_running || fail "the program ended"

step "a double-click brings back the basic-settings window"
click_tray 1 2
expect 10 "the basic-settings window did not come back" window_shown Vantorel
expect 10 "the icon stayed in the tray" tray_icon_gone
shot settings-back
echo "PASS [$E2E_NAME]"
