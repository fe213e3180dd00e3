#!/usr/bin/env bash
# A wrong password on the first OK, with エラーを表示 on (its default): the
# server's failure text is shown in a box, then the error box; the window
# stays for correction, STARTUP stays FALSE and no icon goes to the tray.
source "$(dirname "$0")/lib/e2e.sh"

desktop_start "$E2E_WORK/desktop"
start_mail_server 1
install_program

step "a first run with a wrong password"
start_vantorel
expect 15 "the basic-settings window did not appear" window_shown Vantorel
window=$(find_window Vantorel)
type_into_settings "$POP3_HOST:$POP3_PORT" "$ALICE_USER" "not-the-password" 5 2
xdotool key Return

step "the server's failure text"
expect 30 "no box with the server's failure text" message_box
box_said "パスワードを確認してください" || fail "the first box does not say what to check: $(message_box_texts)"
box_said "サーバーの応答: -ERR [AUTH] Authentication failed." ||
    fail "the first box does not quote the server: $(message_box_texts)"
shot server-failure
close_message_box

step "then the error box"
settings_hint() {
    message_box >/dev/null && box_said "エラーです。設定しなおしてください"
}
until settings_hint; do
    expect 15 "no further box after the server's text" message_box
    settings_hint && break
    shot "box-$(message_box_texts | wc -l)"
    close_message_box
done
shot error-box
close_message_box

step "the window stays for correction"
window_shown Vantorel || fail "the basic-settings window went away"
tray_icon_shown && fail "an icon is in the tray after a failed first check"
[ "$(read_setting USERINFO STARTUP)" = FALSE ] || fail "STARTUP is not FALSE"
[ "$(read_setting USERINFO PASSWORD)" = not-the-password ] || fail "the password was not saved"
echo "PASS [$E2E_NAME]"
