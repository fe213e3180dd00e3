#!/usr/bin/env bash
# With "マウスの置かれているウインドウに表示" on, a check announces into the
# window under the mouse pointer, not the one the user types in, and that
# window's caption demands attention; the window the user works in keeps its
# title.
source "$(dirname "$0")/lib/e2e.sh"

desktop_start "$E2E_WORK/desktop"
start_mail_server 2
install_program
write_settings USERINFO "REMOTEHOST=$POP3_HOST:$POP3_PORT" "USERNAME=$ALICE_USER" \
    "PASSWORD=$ALICE_PASSWORD" INTERVAL=30 TIMER=2 STARTUP=True \
    OPTION ZEROCHECK=False TitleCallBack=True IGNOREERR=True ONMOUSE=True CHECKONCE=False

step "one window under the mouse, another one active"
start_target "マウスの下の窓"
pointed=$TARGET
start_target "作業中の窓"
active=$TARGET
record_titles "$pointed"
start_vantorel
expect 15 "the icon did not appear in the tray" tray_icon_shown
xdotool windowactivate --sync "$active" 2>/dev/null || true

step "今すぐチェック with the pointer over the other window"
click_tray 3
expect 10 "the tray menu did not open" popup_menu_shown
eval "$(xdotool getwindowgeometry --shell "$pointed")"
xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT / 2))  # a move away from the tray
xdotool key --delay 60 Down Down Down Down Return
expect 20 "no arrival notice in the window under the mouse" title_recorded "2通メールが来ています。"
expect 5 "the window under the mouse does not demand attention" demands_attention "$pointed"
shot attention
[ "$(window_title "$active")" = "作業中の窓" ] || fail "the active window's title changed"
restored() {
    title_recorded "以上2通メールが来ています。" && [ "$(window_title "$pointed")" = "マウスの下の窓" ]
}
expect 20 "the title under the mouse was not restored" restored
echo "PASS [$E2E_NAME]"
