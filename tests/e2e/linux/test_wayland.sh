#!/usr/bin/env bash
# Vantorel on a Wayland session with no X display: a headless weston, a
# session bus with xfce4-notifyd and a StatusNotifierWatcher (lib/wayland.sh).
# The program registers its tray icon with the watcher, checks mail by
# itself once its one-minute interval has passed, and, since other
# programs' titles are out of reach there, announces by one desktop
# notification with the count and the decoded Japanese subjects. Then it
# ends cleanly at SIGTERM. The screenshots are the compositor's output with
# the notification on it and the tray icon as the panel received it before
# and after the check.
source "$(dirname "$0")/lib/e2e.sh"
source "$E2E_LIB/wayland.sh"
for tool in weston weston-screenshooter "$NOTIFYD" "$DEBIAN_PYTHON" dbus-monitor; do
    command -v "$tool" >/dev/null ||
        fail "$tool is not installed (tests/scripts/packages-linux-desktop.txt)"
done
"$DEBIAN_PYTHON" -c "import dbus, gi" 2>/dev/null ||
    fail "python3-dbus and python3-gi are not installed (tests/scripts/packages-linux-desktop.txt)"
[ -f "$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null)/platforms/libqwayland-generic.so" ] ||
    fail "Qt's Wayland platform is not installed (qt6-wayland)"

# The connections weston has accepted on its socket.
weston_clients() {
    ss -x state connected | grep -cF "$XDG_RUNTIME_DIR/$WAYLAND_SOCKET " || true
}

icon_shown() {
    tray_events | grep -q '"event": "shown"'
}

# The tooltip and picture of the icon as the panel last read them.
last_shown() {
    tray_events | grep '"event": "shown"' | tail -n1 |
        python3 -c 'import json, sys; e = json.load(sys.stdin); print(e[sys.argv[1]])' "$1"
}

tooltip_says() {
    case "$(last_shown tooltip)" in *"$1"*) return 0 ;; esac
    return 1
}

notification_count_is() {
    [ "$(notify_calls | wc -l)" = "$1" ]
}

wayland_start "$E2E_WORK/desktop" || fail "the Wayland session did not start"
start_mail_server 3
install_program
write_settings USERINFO "REMOTEHOST=$POP3_HOST:$POP3_PORT" "USERNAME=$ALICE_USER" \
    "PASSWORD=$ALICE_PASSWORD" INTERVAL=1 TIMER=1 STARTUP=True \
    OPTION ZEROCHECK=False TitleCallBack=False IGNOREERR=True ONMOUSE=False CHECKONCE=False

step "the program starts on Wayland and registers its tray icon"
# The program starts with no X display, weston's socket, and Qt told to use
# Wayland only; that it is weston's client is seen from weston's side (the
# program's own /proc files are root's: it makes itself non-dumpable).
[ -z "${DISPLAY:-}" ] || fail "the session has an X display: $DISPLAY"
[ "$WAYLAND_DISPLAY" = "$WAYLAND_SOCKET" ] && [ "$QT_QPA_PLATFORM" = wayland ] ||
    fail "the program would not start on weston"
clients_before=$(weston_clients)
start_vantorel
expect 15 "the program did not register its icon with the watcher" icon_shown
vantorel_running || fail "the program ended"
[ "$(weston_clients)" -gt "$clients_before" ] || fail "the program is not on weston"
[ "$(last_shown tooltip)" = Vantorel ] || fail "the icon's tooltip is not \"Vantorel\""
cp "$(last_shown png)" "$E2E_SHOTS/$E2E_NAME-tray-normal.png"
shot started

step "the first check (one minute on) gives one notification"
expect 90 "no notification came" notification_count_is 1
shot notified
expect 10 "the icon does not show the new mail" tooltip_says "新着3通"
cp "$(last_shown png)" "$E2E_SHOTS/$E2E_NAME-tray-new.png"
cmp -s "$E2E_SHOTS/$E2E_NAME-tray-normal.png" "$E2E_SHOTS/$E2E_NAME-tray-new.png" &&
    fail "the icon's picture did not change with the new mail"
notify_calls >"$E2E_WORK/notifications"
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
grep -q "title notices need an X11 session" "$PROGRAM_LOG" ||
    fail "the program did not say that titles are out of reach"

step "SIGTERM ends the program cleanly"
vantorel_running || fail "the program ended by itself"
kill -TERM "$VANTOREL_PID"
wait_gone 10 "$VANTOREL_PID" || fail "the program did not end at SIGTERM"
status=0
wait "$VANTOREL_PID" || status=$?
VANTOREL_PID=""
[ "$status" = 0 ] || fail "the program ended with status $status"
notification_count_is 1 || fail "more than one notification came"
echo "PASS [$E2E_NAME]"
