#!/usr/bin/env bash
# A check from the tray menu announces into the title of the window the user
# works in: "3通メールが来ています。", one "n通目:" notice per message with
# its decoded Japanese subject, the summary, then (restore option on) the
# window's own title again, exactly as it was. Then the tray menu pauses
# checking and ends the program.
source "$(dirname "$0")/lib/e2e.sh"

original="メモ帳 - 元のタイトル"
desktop_start "$E2E_WORK/desktop"
start_mail_server 3
install_program
write_settings USERINFO "REMOTEHOST=$POP3_HOST:$POP3_PORT" "USERNAME=$ALICE_USER" \
    "PASSWORD=$ALICE_PASSWORD" INTERVAL=30 TIMER=2 STARTUP=True \
    OPTION ZEROCHECK=False TitleCallBack=True IGNOREERR=True ONMOUSE=False CHECKONCE=False

step "another program's window is the one the user works in"
start_target "$original"
xprop -id "$TARGET" WM_NAME >"$E2E_WORK/target.wm_name"
record_titles "$TARGET"
start_vantorel
expect 15 "the icon did not appear in the tray" tray_icon_shown
xdotool windowactivate --sync "$TARGET" 2>/dev/null || true

step "今すぐチェック announces the three messages"
tray_menu_choose 4
expect 20 "no arrival notice in the target's title" title_recorded "3通メールが来ています。"
shot arrival
n=0
while read -r subject; do
    n=$((n + 1))
    notice_shown() {
        recorded_titles | grep -q "^$1通目:Subject:$2 From:"
    }
    expect 20 "no notice for message $n ($subject)" notice_shown "$n" "$subject"
    [ "$n" = 1 ] && shot first-notice
done <"$E2E_WORK/subjects"
expect 20 "no closing summary" title_recorded "以上3通メールが来ています。"
shot summary
restored() {
    title_recorded "$original" && [ "$(window_title "$TARGET")" = "$original" ]
}
expect 20 "the original title did not come back" restored
shot restored
[ "$(xprop -id "$TARGET" WM_NAME)" = "$(cat "$E2E_WORK/target.wm_name")" ] ||
    fail "WM_NAME was not restored exactly"

step "the notices came in order, each once"
recorded_titles | uniq >"$E2E_WORK/titles"
python3 - "$original" "$E2E_WORK/subjects" "$E2E_WORK/titles" <<'PY' ||
import sys
original, subjects_file, titles_file = sys.argv[1:]
subjects = open(subjects_file, encoding="utf-8").read().splitlines()
titles = open(titles_file, encoding="utf-8").read().splitlines()
expected = ["3通メールが来ています。"]
expected += ["%d通目:Subject:%s From:" % (n, s) for n, s in enumerate(subjects, 1)]
expected += ["以上3通メールが来ています。", original]
# The first recorded title is the original one, before the check.
seen = titles[1:] if titles and titles[0] == original else titles
ok = len(seen) == len(expected) and all(
    title.startswith(want) if "通目:" in want else title == want
    for title, want in zip(seen, expected))
if not ok:
    print("expected:", *expected, "recorded:", *seen, sep="\n  ", file=sys.stderr)
sys.exit(0 if ok else 1)
PY
    fail "the notices did not come in order"

step "一時停止 carries its mark; 終了(&X) ends the program"
tray_menu_choose 2
click_tray 3
expect 10 "the tray menu did not open" popup_menu_shown
shot paused-menu
xdotool key Escape
expect 10 "the tray menu did not close" popup_menu_gone
tray_menu_choose 5
expect 15 "the program did not end" process_gone "$VANTOREL_PID"
wait "$VANTOREL_PID" && status=0 || status=$?
VANTOREL_PID=""
[ "$status" = 0 ] || fail "the program ended with status $status"
expect 10 "the icon stayed in the tray after 終了" tray_icon_gone
shot ended
echo "PASS [$E2E_NAME]"
