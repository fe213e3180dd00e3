#!/usr/bin/env bash
# A first run (no settings file): the basic-settings window appears with its
# boxes and its option menu, and no icon is in the tray. The option menu's
# last item, "ログイン時に起動する", writes and removes the session's
# autostart entry. A box about a wrong number belongs to the window.
source "$(dirname "$0")/lib/e2e.sh"

desktop_start "$E2E_WORK/desktop"
install_program

step "start without a settings file"
start_vantorel
expect 15 "the basic-settings window did not appear" window_shown Vantorel
tray_icon_shown && fail "an icon is in the tray on a first run"
window=$(find_window Vantorel)
shot window

step "an interval of 0 gives the wrong-number box over the window"
# The host box has the focus, as the window opens.
type_into_settings 127.0.0.1:9 hanako secret 0 1
xdotool key Return
expect 10 "no box about the wrong number" box_said 数値が不正です
box=$(shown_message_box) || fail "the wrong-number box is not on the screen"
owned_window "$box" || fail "the box is not transient for the window and off the task bar"
shot invalid-number-box
close_message_box

step "the option menu opens from the menu bar"
focus_window "$window"
xdotool key alt+o
expect 10 "the option menu did not open" popup_menu_shown
shot option-menu
xdotool key Escape
expect 10 "the option menu did not close" popup_menu_gone

entry="$XDG_CONFIG_HOME/autostart/vantorel.desktop"
# choose_last_option: the option menu's last item (Up from the first wraps).
choose_last_option() {
    focus_window "$window"
    xdotool key alt+o
    expect 10 "the option menu did not open" popup_menu_shown
    xdotool key Up Return
    expect 10 "the option menu did not close" popup_menu_gone
}

step "ログイン時に起動する adds the autostart entry, and removes it again"
[ -e "$entry" ] && fail "an autostart entry exists before the item was chosen"
choose_last_option
program=$(realpath "$PROGRAM_DIR/vantorel")
entry_written() { grep -qxF "Exec=$program" "$entry" 2>/dev/null; }
expect 10 "no autostart entry naming $program was written" entry_written
choose_last_option
entry_gone() { [ ! -e "$entry" ]; }
expect 10 "the autostart entry was not removed" entry_gone
vantorel_running || fail "the program ended"

echo "PASS [$E2E_NAME]"
