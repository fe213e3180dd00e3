# Sourced by each end-to-end test (test_*.sh). It gives the test a private
# desktop (desktop.sh), a private copy of the program with its own settings
# file, screenshots under build/e2e-screenshots/, and a clean-up that stops
# every process the test started, whatever way the test ends.
#
# Set by CTest: VANTOREL_BUILD (build folder), VANTOREL_SOURCE (source
# folder), E2E_TARGET (the target window program).

set -euo pipefail
: "${VANTOREL_BUILD:?set VANTOREL_BUILD to the build folder}"
: "${VANTOREL_SOURCE:?set VANTOREL_SOURCE to the source folder}"
source "$(dirname "${BASH_SOURCE[0]}")/desktop.sh"

E2E_NAME="$(basename "$0" .sh)"
E2E_WORK="$VANTOREL_BUILD/e2e-work/$E2E_NAME"
E2E_SHOTS="$VANTOREL_BUILD/e2e-screenshots"
PROGRAM_DIR="$E2E_WORK/program"
PROGRAM_INI="$PROGRAM_DIR/vantorel.ini"
PROGRAM_LOG="$E2E_WORK/vantorel.log"
VANTOREL_PID=""
E2E_PIDS=()
E2E_DOVECOT=""
E2E_STEP=0

rm -rf "$E2E_WORK"
mkdir -p "$E2E_WORK" "$E2E_SHOTS" "$PROGRAM_DIR"
rm -f "$E2E_SHOTS/$E2E_NAME"-*.png

# Every process the test starts carries this mark in its environment, for
# the reaper (lib/reaper.sh) to find should the test be killed outright.
export VANTOREL_E2E_MARK="$E2E_NAME-$$-$RANDOM$RANDOM"
E2E_REAP_LIST="$E2E_WORK/started"
: >"$E2E_REAP_LIST"
setsid "$E2E_LIB/reaper.sh" $$ "VANTOREL_E2E_MARK=$VANTOREL_E2E_MARK" "$E2E_REAP_LIST" \
    </dev/null >/dev/null 2>&1 &
E2E_REAPER=$!

e2e_cleanup() {
    local status=$?
    stop_vantorel
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        kill -TERM "$pid" 2>/dev/null || true
        wait_gone 5 "$pid" || kill -KILL "$pid" 2>/dev/null || true
    done
    if [ -n "$E2E_DOVECOT" ]; then
        "$VANTOREL_SOURCE/tests/dovecot/stop-dovecot.sh" "$E2E_DOVECOT" || true
    fi
    desktop_stop
    # Everything is stopped: the reaper has nothing left to do.
    kill -KILL "$E2E_REAPER" 2>/dev/null || true
    wait "$E2E_REAPER" 2>/dev/null || true
    exit "$status"
}
trap e2e_cleanup EXIT
# Ended by a signal (Ctrl-C, ctest's time limit), the test fails: without
# these bash would run the clean-up with the status of the last command.
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

fail() {
    echo "FAIL [$E2E_NAME]: $*" >&2
    shot failure || true
    if [ -f "$PROGRAM_LOG" ]; then
        echo "--- vantorel's standard error:" >&2
        cat "$PROGRAM_LOG" >&2
    fi
    exit 1
}

step() {
    E2E_STEP=$((E2E_STEP + 1))
    echo "[$E2E_NAME] ${SECONDS}s $E2E_STEP. $*"
}

# A screenshot of the desktop: build/e2e-screenshots/<test>-<name>.png
shot() {
    local file="$E2E_SHOTS/$E2E_NAME-$1.png"
    desktop_screenshot "$file"
    echo "[$E2E_NAME]    screenshot $file"
}

# The program, its mail library and its sound module, copied so that its
# settings file is the test's own.
install_program() {
    cp "$VANTOREL_BUILD/vantorel" "$PROGRAM_DIR/"
    local library
    for library in libpopmail.so libvantorel-sound.so; do
        if [ -f "$VANTOREL_BUILD/$library" ]; then
            cp "$VANTOREL_BUILD/$library" "$PROGRAM_DIR/"
        fi
    done
}

# write_settings SECTION KEY=VALUE ... [SECTION KEY=VALUE ...]
# Writes the settings file as the program keeps it: CP932, CRLF.
write_settings() {
    python3 "$VANTOREL_SOURCE/tests/scripts/settings_file.py" "$PROGRAM_INI" "$@"
}

# read_setting SECTION KEY: the value, decoded from CP932 (fails when the
# file is not CP932).
read_setting() {
    python3 - "$PROGRAM_INI" "$1" "$2" <<'PY'
import sys
path, section, key = sys.argv[1:]
text = open(path, "rb").read().decode("cp932")
current = None
for line in text.split("\r\n"):
    if line.startswith("[") and line.endswith("]"):
        current = line[1:-1].lower()
    elif current == section.lower() and "=" in line:
        name, value = line.split("=", 1)
        if name.strip().lower() == key.lower():
            print(value.strip())
            break
PY
}

start_vantorel() {
    "$PROGRAM_DIR/vantorel" >"$PROGRAM_LOG" 2>&1 &
    VANTOREL_PID=$!
    note_for_reaper pid "$VANTOREL_PID $(cut -d' ' -f22 "/proc/$VANTOREL_PID/stat" 2>/dev/null)"
}

# Ends the program as the session's end would, then for good.
stop_vantorel() {
    [ -n "$VANTOREL_PID" ] || return 0
    local signal
    for signal in TERM TERM KILL; do
        kill -"$signal" "$VANTOREL_PID" 2>/dev/null || break
        wait_gone 5 "$VANTOREL_PID" && break
    done
    wait "$VANTOREL_PID" 2>/dev/null || true
    VANTOREL_PID=""
}

vantorel_running() {
    [ -n "$VANTOREL_PID" ] && kill -0 "$VANTOREL_PID" 2>/dev/null
}

# The title of a window, as _NET_WM_NAME holds it.
window_title() {
    xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'
}

# The visible top-level windows titled exactly TITLE, one id per line.
find_window() {
    local id
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
        if [ "$(window_title "$id")" = "$1" ] && xprop -id "$id" WM_STATE 2>/dev/null |
            grep -q "window state"; then
            echo "$id"
        fi
    done
}

window_shown() {
    [ -n "$(find_window "$1")" ]
}

# "id x y width height" of the program's icon in the tray, if shown.
tray_icon() {
    python3 "$E2E_LIB/xtool.py" tray-icons vantorel | head -n1
}

tray_icon_shown() {
    [ -n "$(tray_icon)" ]
}

# icon_shot NAME: the picture of the icon alone, as the tray shows it, in
# the screenshots folder as <test>-NAME.png.
icon_shot() {
    local icon
    icon=$(tray_icon | cut -d' ' -f1)
    [ -n "$icon" ] || fail "no tray icon to take a picture of"
    import -silent -window "$icon" "$E2E_SHOTS/$E2E_NAME-$1.png"
}

# icon_differs NAME OTHER...: takes the icon's picture NAME and is true
# when it differs from each earlier picture OTHER.
icon_differs() {
    local name=$1 other
    shift
    icon_shot "$name" || return 1
    for other in "$@"; do
        ! cmp -s "$E2E_SHOTS/$E2E_NAME-$name.png" "$E2E_SHOTS/$E2E_NAME-$other.png" || return 1
    done
}

# click_tray BUTTON [CLICKS]: clicks the middle of the program's tray icon.
click_tray() {
    local icon x y w h
    icon=$(tray_icon)
    [ -n "$icon" ] || fail "no tray icon to click"
    read -r _ x y w h <<<"$icon"
    # The program takes a right press that comes within 250 ms of its menu
    # closing (or of the command chosen there ending) for a second report of
    # the press that closed it, which X11 trays sometimes send. A person's
    # next click never comes that soon; the test's would.
    [ "$1" != 3 ] || sleep 0.3
    # One xdotool call: the move reaches the server before the click. (Its
    # --sync would wait in vain when the pointer is already there.)
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click --repeat "${2:-1}" --delay 80 "$1"
}

# True while one of the program's pop-up menus is on the screen: a shown
# override-redirect window of the program that is neither its tray icon nor
# a tooltip.
popup_menu_shown() {
    local id icon
    icon=$(tray_icon | cut -d' ' -f1)
    for id in $(xdotool search --onlyvisible --classname vantorel 2>/dev/null); do
        [ "$id" != "$icon" ] || continue
        xwininfo -id "$id" 2>/dev/null | grep -q "Override Redirect State: yes" || continue
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q TOOLTIP && continue
        return 0
    done
    return 1
}

popup_menu_gone() {
    ! popup_menu_shown
}

tray_icon_gone() {
    ! tray_icon_shown
}

# expect SECONDS DESCRIPTION CMD...: waits for CMD, fails the test otherwise.
expect() {
    local seconds=$1 what=$2
    shift 2
    wait_for "$seconds" "$@" || fail "$what"
}

# start_mail_server COUNT: a private dovecot (tests/dovecot) whose mailbox
# ALICE_USER holds COUNT sample Japanese messages; their subjects are in
# $E2E_WORK/subjects, one per line. Sources dovecot.env (POP3_HOST,
# POP3_PORT, ALICE_USER, ALICE_PASSWORD, SSL_CERT_FILE for the test CA).
start_mail_server() {
    E2E_DOVECOT="$E2E_WORK/dovecot"
    note_for_reaper dovecot "$E2E_DOVECOT"
    "$VANTOREL_SOURCE/tests/dovecot/start-dovecot.sh" "$E2E_DOVECOT" >/dev/null
    source "$E2E_DOVECOT/dovecot.env"
    local maildir="$E2E_DOVECOT/home/$ALICE_USER/Maildir"
    rm -rf "$maildir"
    python3 "$E2E_LIB/sample-mail.py" "$maildir" "$1" >"$E2E_WORK/subjects"
    chown -R --reference="$E2E_DOVECOT/home" "$E2E_DOVECOT/home"
}

# start_target TITLE: another program's window, active; its id in TARGET.
start_target() {
    local ids="$E2E_WORK/target-${#E2E_PIDS[@]}.id"
    "${E2E_TARGET:?}" "$1" >"$ids" 2>>"$E2E_WORK/target.log" &
    E2E_PIDS+=($!)
    wait_for 15 test -s "$ids" || fail "the target window did not start"
    TARGET=$(head -n1 "$ids")
    wait_for 10 window_shown "$1" || fail "the target window is not shown"
    xdotool windowactivate --sync "$TARGET" 2>/dev/null || true
}

# record_titles WINDOW: from now on every title the window gets is noted,
# as it changes; recorded_titles prints them, one per line.
record_titles() {
    xprop -spy -id "$1" _NET_WM_NAME >"$E2E_WORK/titles.raw" 2>/dev/null &
    E2E_PIDS+=($!)
}

recorded_titles() {
    sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p' "$E2E_WORK/titles.raw"
}

# title_recorded TEXT: true once the window has had that title.
title_recorded() {
    recorded_titles | grep -qxF "$1"
}

# tray_menu_choose N: opens the tray menu and chooses its N-th item (menu
# order, separators not counted).
tray_menu_choose() {
    click_tray 3
    expect 10 "the tray menu did not open" popup_menu_shown
    xdotool key --delay 60 $(printf 'Down %.0s' $(seq "$1")) Return
    expect 10 "the tray menu did not close" popup_menu_gone
}

# focus_window WINDOW: makes it the active window with the keyboard focus;
# keys then go to it through the XTEST extension (Qt ignores keys that
# are merely sent to a window).
focus_window() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
    wait_for 5 bash -c "[ \"\$(xdotool getactivewindow)\" = $1 ]" || true
}

# map_keys TEXT: gives the characters of TEXT keys of their own, so that
# xdotool types them without changing the keyboard under a running program
# (whose first key after such a change can get lost).
map_keys() {
    python3 "$E2E_LIB/xtool.py" map-keys "$1"
}

# The program's message box on the screen, if any: a modal dialog of the
# program (its small windows are dialogs too, but not modal).
message_box() {
    local id props
    for id in $(xdotool search --onlyvisible --classname vantorel 2>/dev/null); do
        props=$(xprop -id "$id" _NET_WM_WINDOW_TYPE _NET_WM_STATE 2>/dev/null)
        if grep -q _NET_WM_WINDOW_TYPE_DIALOG <<<"$props" && grep -q _NET_WM_STATE_MODAL <<<"$props"; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# shown_message_box: the program's message box once it is on the screen
# (10 s at most). The program writes a box's text to standard error just
# before the box is mapped, so a box just said may not be there yet.
shown_message_box() {
    wait_for 10 message_box || return 1
    message_box
}

# close_message_box: presses OK in the program's message box.
close_message_box() {
    local box
    box=$(shown_message_box) || fail "no message box to close"
    focus_window "$box"
    xdotool key Return
    wait_for 10 bash -c "! xwininfo -id $box 2>/dev/null | grep -q IsViewable" ||
        fail "the message box did not close"
}

# The texts of the message boxes shown so far, one per line (the program
# writes each to standard error as it shows it).
message_box_texts() {
    sed -n 's/^vantorel: message box: //p' "$PROGRAM_LOG"
}

# box_said TEXT: true once a message box has shown a text containing TEXT.
box_said() {
    message_box_texts | grep -qF "$1"
}

# type_into_settings HOST USER PASSWORD INTERVAL TIMER: fills the five boxes
# of the shown basic-settings window from the keyboard, in tab order.
# Characters the keyboard lacks must have keys from map_keys, given before
# the program started.
type_into_settings() {
    local window value
    window=$(find_window Vantorel)
    [ -n "$window" ] || fail "no basic-settings window to type into"
    focus_window "$window"
    for value in "$@"; do
        xdotool key ctrl+a BackSpace
        xdotool type --delay 15 -- "$value"
        xdotool key Tab
    done
}

# demands_attention WINDOW: true while the window's caption asks for
# attention (the urgency hint or _NET_WM_STATE_DEMANDS_ATTENTION).
demands_attention() {
    xprop -id "$1" WM_HINTS _NET_WM_STATE 2>/dev/null |
        grep -q -e "urgency hint bit set" -e _NET_WM_STATE_DEMANDS_ATTENTION
}

# owned_window ID: true when the window stands over another of the program's
# windows (WM_TRANSIENT_FOR) and asks task bars to leave it out.
owned_window() {
    xprop -id "$1" WM_TRANSIENT_FOR 2>/dev/null | grep -q "window id" &&
        xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_SKIP_TASKBAR
}

# window_centre ID: "x y" of the centre of the window's frame on the screen.
window_centre() {
    xdotool getwindowgeometry --shell "$1" 2>/dev/null |
        awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2}
                 END{print int(x + w / 2), int(y + h / 2)}'
}
