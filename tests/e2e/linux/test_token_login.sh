#!/usr/bin/env bash
# Token logins against a dovecot that takes only OAuth 2.0 access tokens
# (signed JSON Web Tokens it validates itself): with TOKENCMD set, 今すぐチェック
# runs the command, logs in with the token it prints over TLS and announces
# the two messages; an expired token and a command that fails each end in a
# box saying why. The token never reaches the settings file or the
# program's standard error (where every box's text is also written).
source "$(dirname "$0")/lib/e2e.sh"

original="メモ帳 - トークン"
mint="$VANTOREL_SOURCE/popmail/tests/integration/mint-jwt.py"
desktop_start "$E2E_WORK/desktop"
E2E_DOVECOT="$E2E_WORK/dovecot-oauth2"
"$VANTOREL_SOURCE/tests/dovecot/start-dovecot-oauth2.sh" "$E2E_DOVECOT" >/dev/null
source "$E2E_DOVECOT/dovecot.env"
install_program

# settings_with COMMAND: the program's settings with that token command; no
# password at all.
settings_with() {
    write_settings USERINFO "REMOTEHOST=pop3s://localhost:$POP3S_PORT" "USERNAME=$OAUTH2_USER" \
        "TOKENCMD=$1" INTERVAL=30 TIMER=1 STARTUP=True \
        OPTION ZEROCHECK=False TitleCallBack=True IGNOREERR=True ONMOUSE=False CHECKONCE=False
}
# The command keeps a copy of each token it prints, for the checks below.
settings_with "python3 $mint $OAUTH2_KEY_FILE $OAUTH2_USER 3600 | tee -a $E2E_WORK/tokens"

step "a valid token: the two messages are announced"
start_target "$original"
record_titles "$TARGET"
start_vantorel
expect 15 "the icon did not appear in the tray" tray_icon_shown
xdotool windowactivate --sync "$TARGET" 2>/dev/null || true
tray_menu_choose 4
expect 30 "no arrival notice in the target's title" title_recorded "2通メールが来ています。"
shot arrival
expect 30 "no closing summary" title_recorded "以上2通メールが来ています。"
restored() {
    [ "$(window_title "$TARGET")" = "$original" ]
}
expect 20 "the original title did not come back" restored
[ "$(wc -l <"$E2E_WORK/tokens")" = 1 ] ||
    fail "the token command ran $(wc -l <"$E2E_WORK/tokens") times for one check"
message_box >/dev/null && fail "a box came up: $(message_box_texts)"

step "an expired token: the server's reason in a box"
settings_with "python3 $mint $OAUTH2_KEY_FILE $OAUTH2_USER -600 | tee -a $E2E_WORK/tokens"
xdotool windowactivate --sync "$TARGET" 2>/dev/null || true
tray_menu_choose 4
expect 30 "no box for the expired token" message_box
box_said "アクセストークンが無効か、有効期限が切れている" ||
    fail "the box does not say the token is invalid: $(message_box_texts)"
shot expired-token
close_message_box
expect 15 "no error box after the server's text" message_box
close_message_box

step "a failing command: its standard error in a box, nothing sent"
settings_with "echo 'refresh token revoked; sign in again' >&2; exit 3"
tray_menu_choose 4
expect 30 "no box for the failing command" message_box
box_said "トークンを取得できませんでした: refresh token revoked; sign in again" ||
    fail "the box does not give the command's error: $(message_box_texts)"
shot command-failed
close_message_box
expect 15 "no error box after the command's failure" message_box
close_message_box

step "no token in the settings file or on standard error"
while read -r token; do
    [ -n "$token" ] || continue
    grep -qF "$token" "$PROGRAM_INI" && fail "a token is in the settings file"
    grep -qF "$token" "$PROGRAM_LOG" && fail "a token is on the program's standard error"
done <"$E2E_WORK/tokens"
[ "$(wc -l <"$E2E_WORK/tokens")" = 2 ] || fail "expected two tokens minted"
echo "PASS [$E2E_NAME]"
