#!/usr/bin/env bash
# With no window on the desktop to write into, an announcement becomes one
# desktop notification (here dunst, on the test's own session bus): the
# arrival notice as its summary, the decoded Japanese subjects in its body.
# With "デスクトップにも通知する" on, a window's title gets the notices and
# a notification comes as well. The icon shows the new-mail badge, then
# the pause; pictures of the icon alone and screenshots show both.
source "$(dirname "$0")/lib/e2e.sh"
command -v dunst >/dev/null && command -v dunstctl >/dev/null ||
    fail "dunst is not installed (tests/scripts/packages-linux-desktop.txt)"

notification_service_up() {
    dbus-send --session --print-reply --dest=org.freedesktop.Notifications \
        /org/freedesktop/Notifications org.freedesktop.Notifications.GetServerInformation \
        >/dev/null 2>&1
}

# The notifications dunst has shown, as "summary<TAB>body" lines, oldest
# first; shown ones are closed first so that the history holds them.
notifications() {
    dunstctl close-all 2>/dev/null || true
    dunstctl history | python3 -c '
import json, sys
entries = json.load(sys.stdin)["data"][0]
for entry in reversed(entries):
    body = entry["body"]["data"].replace("\n", "\\n")
    print(entry["summary"]["data"] + "\t" + body)'
}

notification_displayed() {
    [ "$(dunstctl count displayed 2>/dev/null || echo 0)" -ge 1 ]
}

notification_count_is() {
    [ "$(notifications | wc -l)" = "$1" ]
}

desktop_start "$E2E_WORK/desktop"
setsid dunst >"$E2E_WORK/dunst.log" 2>&1 </dev/null &
E2E_PIDS+=($!)
expect 15 "the notification service did not start" notification_service_up
start_mail_server 3
install_program
write_settings USERINFO "REMOTEHOST=$POP3_HOST:$POP3_PORT" "USERNAME=$ALICE_USER" \
    "PASSWORD=$ALICE_PASSWORD" INTERVAL=30 TIMER=1 STARTUP=True \
    OPTION ZEROCHECK=False TitleCallBack=False IGNOREERR=True ONMOUSE=False CHECKONCE=False

step "no window on the desktop: 今すぐチェック gives one notification"
start_vantorel
expect 15 "the icon did not appear in the tray" tray_icon_shown
tray_menu_choose 4
expect 20 "no notification came" notification_displayed
shot notified
expect 20 "not exactly one notification came" notification_count_is 1
notifications >"$E2E_WORK/notifications"
python3 - "$E2E_WORK/subjects" "$E2E_WORK/notifications" <<'PY' ||
import sys
subjects = open(sys.argv[1], encoding="utf-8").read().splitlines()
summary, body = open(sys.argv[2], encoding="utf-8").read().rstrip("\n").split("\t", 1)
lines = body.split("\\n")
ok = summary == "3通メールが来ています。" and len(lines) == 3 and all(
    line.startswith(subject + " — ") for line, subject in zip(lines, subjects))
if not ok:
    print("summary:", summary, "lines:", *lines, "subjects:", *subjects, sep="\n  ",
          file=sys.stderr)
sys.exit(0 if ok else 1)
PY
    fail "the notification does not hold the count and the subjects"
stop_vantorel

step "with the option on, the title and a notification"
write_settings USERINFO "REMOTEHOST=$POP3_HOST:$POP3_PORT" "USERNAME=$ALICE_USER" \
    "PASSWORD=$ALICE_PASSWORD" INTERVAL=30 TIMER=1 STARTUP=True \
    OPTION ZEROCHECK=False TitleCallBack=False IGNOREERR=True ONMOUSE=False CHECKONCE=False \
    NOTIFY=True
start_target "メモ帳"
record_titles "$TARGET"
start_vantorel
expect 15 "the icon did not appear in the tray" tray_icon_shown
icon_shot icon-normal
xdotool windowactivate --sync "$TARGET" 2>/dev/null || true
tray_menu_choose 4
expect 20 "no arrival notice in the target's title" title_recorded "3通メールが来ています。"
expect 20 "no second notification came" notification_count_is 2
shot title-and-notification
expect 20 "the icon shows no new mail" icon_differs icon-new-mail icon-normal

step "一時停止: the icon shows the pause"
# Opening the menu takes the new-mail badge away; the pause greys the icon.
tray_menu_choose 2
expect 20 "the icon does not show the pause" icon_differs icon-paused icon-normal icon-new-mail
shot tray-paused
echo "PASS [$E2E_NAME]"
