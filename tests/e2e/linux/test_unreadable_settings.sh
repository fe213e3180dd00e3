#!/usr/bin/env bash
# A settings file that is there but cannot be read (here: larger than the
# program reads) is not taken for a first run in silence: a message box and
# a line on standard error name it and the reason. The first save keeps it
# beside the new settings file. The temporary file of an
# interrupted earlier save is gone after the start.
source "$(dirname "$0")/lib/e2e.sh"

desktop_start "$E2E_WORK/desktop"
install_program

readonly too_large=$((16 * 1024 * 1024 + 1))
write_settings USERINFO REMOTEHOST=mail.example USERNAME=bob STARTUP=True
truncate -s "$too_large" "$PROGRAM_INI"
stale="$PROGRAM_INI.tmp-0123456789abcdef"
printf '[USERINFO]\r\nPASSWORD=half-written' >"$stale"

step "start with a settings file too large to read"
start_vantorel
expect 15 "no message box about the settings file" message_box
expect 5 "the box did not name the file and the reason" \
    box_said "設定ファイルを読み込めませんでした。"
grep -qF "vantorel: 設定ファイルを読み込めませんでした。 $PROGRAM_INI 理由: ファイルが大きすぎます" \
    "$PROGRAM_LOG" || fail "no line on standard error naming the file and the reason"
[ -e "$stale" ] && fail "the temporary file of the interrupted save is still there"
shot message-box
close_message_box
expect 10 "the basic-settings window did not appear" window_shown Vantorel
tray_icon_shown && fail "an icon is in the tray although the settings could not be read"

step "the first save keeps the old file beside the new one"
main=$(find_window Vantorel)
focus_window "$main"
xdotool key alt+o
expect 10 "the option menu did not open" popup_menu_shown
# The menu opens with its first item highlighted; the second is an option.
xdotool key Down Return
saved() { [ "$(read_setting OPTION CHECKONCE 2>/dev/null)" = True ]; }
expect 10 "the option was not saved" saved
[ "$(stat -c %s "$PROGRAM_INI.unreadable")" = "$too_large" ] ||
    fail "the unreadable file was not kept as vantorel.ini.unreadable"
head -c 200 "$PROGRAM_INI.unreadable" | grep -q "USERNAME=bob" ||
    fail "the kept file does not hold the old settings"
[ "$(read_setting USERINFO USERNAME)" = "" ] || fail "the new file holds more than what was saved"
echo "PASS [$E2E_NAME]"
