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
    exit "$status"
}
trap e2e_cleanup EXIT

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

# The program and its mail library, copied so that its settings file is the
# test's own.
install_program() {
    cp "$VANTOREL_BUILD/vantorel" "$PROGRAM_DIR/"
    if [ -f "$VANTOREL_BUILD/libpopmail.so" ]; then
        cp "$VANTOREL_BUILD/libpopmail.so" "$PROGRAM_DIR/"
    fi
}

# write_settings SECTION KEY=VALUE ... [SECTION KEY=VALUE ...]
# Writes the settings file as the program keeps it: CP932, CRLF.
write_settings() {
    python3 - "$PROGRAM_INI" "$@" <<'PY'
import sys
path, items = sys.argv[1], sys.argv[2:]
lines = []
for item in items:
    if "=" in item:
        lines.append(item)
    else:
        lines.append("[%s]" % item)
open(path, "wb").write(("\r\n".join(lines) + "\r\n").encode("cp932"))
PY
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

# click_tray BUTTON [CLICKS]: clicks the middle of the program's tray icon.
click_tray() {
    local icon x y w h
    icon=$(tray_icon)
    [ -n "$icon" ] || fail "no tray icon to click"
    read -r _ x y w h <<<"$icon"
    xdotool mousemove --sync $((x + w / 2)) $((y + h / 2))
    xdotool click --repeat "${2:-1}" --delay 80 "$1"
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
