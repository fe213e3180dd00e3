#!/usr/bin/env bash
# A first run (no settings file): the basic-settings window appears with its
# boxes and its option menu, and no icon is in the tray.
source "$(dirname "$0")/lib/e2e.sh"

desktop_start "$E2E_WORK/desktop"
install_program

step "start without a settings file"
start_vantorel
expect 15 "the basic-settings window did not appear" window_shown Vantorel
tray_icon_shown && fail "an icon is in the tray on a first run"
window=$(find_window Vantorel)
shot window

step "the option menu opens from the menu bar"
focus_window "$window"
xdotool key alt+o
expect 10 "the option menu did not open" popup_menu_shown
shot option-menu
xdotool key Escape
expect 10 "the option menu did not close" popup_menu_gone
echo "PASS [$E2E_NAME]"
