#!/usr/bin/env bash
# The three small windows: the version window from the tray menu (Enter
# closes it), the sound settings and title-bar settings windows from the
# option menu of the basic-settings window (their close boxes close them,
# and so does Escape). Each stands over the window it belongs to, centred
# over the basic-settings window when that is shown, with no task bar
# button of its own. Closing a small window never ends the program.
source "$(dirname "$0")/lib/e2e.sh"

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
owned_window "$(find_window "$about")" ||
    fail "the version window is not a window of the program's own (transient, off the task bar)"
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

# centred_over WINDOW OWNER: true when their centres are within a few pixels
# (the frame's borders and title bar shift the client a little).
centred_over() {
    local wx wy ox oy
    read -r wx wy < <(window_centre "$1")
    read -r ox oy < <(window_centre "$2")
    [ $(((wx - ox) * (wx - ox) + (wy - oy) * (wy - oy))) -le 400 ]
}

step "効果音の設定 from the option menu; Escape closes it"
open_option 1 効果音の設定
shot sound-window
sound=$(find_window 効果音の設定)
owned_window "$sound" || fail "the sound window is not transient and off the task bar"
centred_over "$sound" "$main" ||
    fail "the sound window is not centred over the basic-settings window: $(window_centre "$sound") vs $(window_centre "$main")"
focus_window "$sound"
xdotool key Escape
sound_gone() { [ -z "$(find_window 効果音の設定)" ]; }
expect 10 "Escape did not close the sound window" sound_gone

step "タイトルバーの設定 from the option menu"
open_option 3 タイトルバーの設定
shot titlebar-window
close_by_close_box タイトルバーの設定
vantorel_running || fail "closing a small window ended the program"
window_shown Vantorel || fail "the basic-settings window went away"
echo "PASS [$E2E_NAME]"
