#!/usr/bin/env bash
# A first run (no settings file): typing the server, account, password and
# intervals into the basic-settings window and pressing OK runs a first
# check, writes the settings file in CP932 and puts the icon into the tray.
source "$(dirname "$0")/lib/e2e.sh"

desktop_start "$E2E_WORK/desktop"
start_mail_server 0
install_program

map_keys "分秒"

step "start without a settings file"
start_vantorel
expect 15 "the basic-settings window did not appear" window_shown Vantorel
tray_icon_shown && fail "an icon is in the tray on a first run"
window=$(find_window Vantorel)

step "type the settings and press OK"
# The intervals are saved exactly as typed; their leading numbers count.
type_into_settings "$POP3_HOST:$POP3_PORT" "$ALICE_USER" "$ALICE_PASSWORD" 5分 2秒
shot typed
xdotool key Return
expect 30 "the icon did not come into the tray after OK" tray_icon_shown
expect 10 "the window stayed on the screen after OK" bash -c "! xwininfo -id $window | grep -q IsViewable"
shot in-tray

step "the settings file holds what was typed, in CP932"
[ "$(read_setting USERINFO REMOTEHOST)" = "$POP3_HOST:$POP3_PORT" ] || fail "REMOTEHOST not saved"
[ "$(read_setting USERINFO USERNAME)" = "$ALICE_USER" ] || fail "USERNAME not saved"
[ "$(read_setting USERINFO PASSWORD)" = "$ALICE_PASSWORD" ] || fail "PASSWORD not saved"
[ "$(read_setting USERINFO INTERVAL)" = 5分 ] || fail "INTERVAL not saved"
[ "$(read_setting USERINFO TIMER)" = 2秒 ] || fail "TIMER not saved"
python3 - "$PROGRAM_INI" <<'PY' || fail "the settings file is not CP932"
import sys
data = open(sys.argv[1], "rb").read()
sys.exit(0 if "INTERVAL=5分\r\n".encode("cp932") in data else 1)
PY
[ "$(read_setting USERINFO STARTUP)" = True ] || fail "STARTUP is not True after a good first check"
grep -q $'\r$' "$PROGRAM_INI" || fail "the settings file has no CRLF line ends"
[ -d "$PROGRAM_DIR/save" ] || fail "the save folder was not created"
message_box_texts | grep -q . && fail "a message box was shown: $(message_box_texts)"
echo "PASS [$E2E_NAME]"
