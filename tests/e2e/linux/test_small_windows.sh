#!/usr/bin/env bash
# The three small windows: the version window from the tray menu (Enter
# closes it), the sound settings and title-bar settings windows from the
# option menu of the basic-settings window (their close boxes close them).
# Closing a small window never ends the program.
source "$(dirname "$0")/lib/e2e.sh"
require commands

desktop_start "$E2E_WORK/desktop"
install_program
write_settings USERINFO REMOTEHOST=127.0.0.1:9 USERNAME=hanako PASSWORD=secret \
    INTERVAL=30 TIMER=1 STARTUP=True
start_vantorel
expect 15 "the icon did not appear in the tray" tray_icon_shown

step "Version情報 shows the version window; Enter closes it"
tray_menu_choose 3
about="Vantorelのﾊﾞｰｼﾞｮﾝ情報"
expect 10 "the version window did not appear" window_shown "$about"
shot version-window
focus_window "$(find_window "$about")"
xdotool key Return
about_gone() { [ -z "$(find_window "$about")" ]; }
expect 10 "Enter did not close the version window" about_gone
vantorel_running || fail "closing the version window ended the program"

step "設定変更 brings the basic-settings window back"
tray_menu_choose 1
expect 10 "the basic-settings window did not come back" window_shown Vantorel
expect 10 "the icon stayed in the tray" tray_icon_gone
main=$(find_window Vantorel)

# open_option N TITLE: chooses the N-th item of the option menu and waits
# for the window titled TITLE.
open_option() {
    focus_window "$main"
    xdotool key alt+o
    expect 10 "the option menu did not open" popup_menu_shown
    # The menu opens with its first item highlighted.
    local i
    for ((i = 1; i < $1; i++)); do
        xdotool key Down
    done
    xdotool key Return
    expect 10 "the window $2 did not appear" window_shown "$2"
}

# close_by_close_box TITLE: asks the window manager to close it (alt+F4).
close_by_close_box() {
    focus_window "$(find_window "$1")"
    xdotool key alt+F4
    gone() { [ -z "$(find_window "$1")" ]; }
    expect 10 "the window $1 did not close" gone "$1"
}

step "効果音の設定 from the option menu"
open_option 1 効果音の設定
shot sound-window
close_by_close_box 効果音の設定

step "タイトルバーの設定 from the option menu"
open_option 3 タイトルバーの設定
shot titlebar-window
close_by_close_box タイトルバーの設定
vantorel_running || fail "closing a small window ended the program"
window_shown Vantorel || fail "the basic-settings window went away"
echo "PASS [$E2E_NAME]"
