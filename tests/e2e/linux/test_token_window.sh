#!/usr/bin/env bash
# The token command window from the option menu of the basic-settings
# window: it shows the stored command, OK keeps what was typed in the
# settings file, キャンセル keeps the file as it was.
source "$(dirname "$0")/lib/e2e.sh"

title="OAuth2 トークンコマンド"
desktop_start "$E2E_WORK/desktop"
install_program
write_settings USERINFO REMOTEHOST=127.0.0.1:9 USERNAME=hanako PASSWORD=secret \
    INTERVAL=30 TIMER=1 STARTUP=False "TOKENCMD=oauth2-helper --old"
start_vantorel
expect 15 "the basic-settings window did not appear" window_shown Vantorel
main=$(find_window Vantorel)

# open_token_window: the ninth item of the option menu (the
# separators are skipped).
open_token_window() {
    focus_window "$main"
    xdotool key alt+o
    expect 10 "the option menu did not open" popup_menu_shown
    # The menu opens with its first item highlighted.
    xdotool key --delay 40 $(printf 'Down %.0s' $(seq 8)) Return
    expect 10 "the window $title did not appear" window_shown "$title"
    focus_window "$(find_window "$title")"
}

window_gone() { [ -z "$(find_window "$title")" ]; }

step "the window shows the stored command; OK keeps the typed one"
open_token_window
shot token-window
xdotool key ctrl+a BackSpace
xdotool type --delay 15 -- "oauth2-helper --account hanako@example.jp"
xdotool key Tab space
expect 10 "OK did not close the window" window_gone
[ "$(read_setting USERINFO TOKENCMD)" = "oauth2-helper --account hanako@example.jp" ] ||
    fail "TOKENCMD is '$(read_setting USERINFO TOKENCMD)'"

step "キャンセル keeps the stored command"
open_token_window
xdotool key ctrl+a BackSpace
xdotool type --delay 15 -- "something else"
xdotool key Tab Tab space
expect 10 "キャンセル did not close the window" window_gone
[ "$(read_setting USERINFO TOKENCMD)" = "oauth2-helper --account hanako@example.jp" ] ||
    fail "キャンセル changed TOKENCMD to '$(read_setting USERINFO TOKENCMD)'"
vantorel_running || fail "closing the window ended the program"
echo "PASS [$E2E_NAME]"
