#!/usr/bin/env bash
# The session ends (SIGTERM) while one of the program's message boxes is open
# after a failed check with エラーを表示 on: from the tray menu while an
# announcement runs, and on a first run with the settings window open. The
# program ends cleanly, not by a crash: the target gets its own title back
# and the settings stay as they were (a crash shows as an exit status above
# 128). Two requests in a row end it as well.
source "$(dirname "$0")/lib/e2e.sh"

original="メモ帳 - 終了"
desktop_start "$E2E_WORK/desktop"
start_mail_server 2
install_program

# end_session COUNT: sends SIGTERM COUNT times in a row, then waits up to
# 5 seconds for the program to end; its exit status goes to EXIT_STATUS.
end_session() {
    local i
    for i in $(seq "$1"); do
        kill -TERM "$VANTOREL_PID"
    done
    wait_gone 5 "$VANTOREL_PID" || fail "the program did not end when the session ended"
    EXIT_STATUS=0
    wait "$VANTOREL_PID" || EXIT_STATUS=$?
    VANTOREL_PID=""
    [ "$EXIT_STATUS" -le 1 ] || fail "the program ended with status $EXIT_STATUS"
}

# tray_settings PASSWORD: tray mode, the announcement's notices 30 s apart.
tray_settings() {
    write_settings USERINFO "REMOTEHOST=$POP3_HOST:$POP3_PORT" "USERNAME=$ALICE_USER" \
        "PASSWORD=$1" INTERVAL=30 TIMER=30 STARTUP=True \
        OPTION ZEROCHECK=False TitleCallBack=True IGNOREERR=True ONMOUSE=False CHECKONCE=False
}

arrival_notice_shown() {
    [ "$(window_title "$TARGET")" = "2通メールが来ています。" ]
}

# box_after_failed_check_from_tray: with the announcement of two messages
# running, a check with a wrong password leaves its box open.
box_after_failed_check_from_tray() {
    tray_settings "$ALICE_PASSWORD"
    start_vantorel
    expect 15 "the icon did not appear in the tray" tray_icon_shown
    xdotool windowactivate --sync "$TARGET" 2>/dev/null || true
    tray_menu_choose 4
    expect 30 "no arrival notice in the target's title" arrival_notice_shown
    tray_settings wrong-password
    tray_menu_choose 4
    expect 30 "no box for the failed check" message_box
    box_said "パスワードを確認してください" || fail "not the failed login's box: $(message_box_texts)"
}

title_is_original() {
    [ "$(window_title "$TARGET")" = "$original" ]
}

start_target "$original"

step "the session ends while a box of a check from the tray menu is open"
box_after_failed_check_from_tray
shot tray-box
end_session 1
[ "$EXIT_STATUS" = 0 ] || fail "the program ended with status $EXIT_STATUS"
expect 5 "the target did not get its title back" title_is_original
[ "$(read_setting USERINFO PASSWORD)" = wrong-password ] || fail "the password was not kept"
[ "$(read_setting USERINFO STARTUP)" = True ] || fail "STARTUP was changed"

step "two requests to end in a row while the box is open"
box_after_failed_check_from_tray
end_session 2
expect 5 "the target did not get its title back" title_is_original

step "the session ends on a first run while its box is open"
map_keys "分秒"
rm -f "$PROGRAM_INI"
start_vantorel
expect 15 "the basic-settings window did not appear" window_shown Vantorel
type_into_settings "$POP3_HOST:$POP3_PORT" "$ALICE_USER" "not-the-password" 5 2
xdotool key Return
expect 30 "no box for the failed check" message_box
shot first-run-box
end_session 1
[ "$EXIT_STATUS" = 0 ] || fail "the program ended with status $EXIT_STATUS"
[ "$(read_setting USERINFO PASSWORD)" = not-the-password ] || fail "the password was not kept"
[ "$(read_setting USERINFO STARTUP)" = FALSE ] || fail "STARTUP is not FALSE"
echo "PASS [$E2E_NAME]"
