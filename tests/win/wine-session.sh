#!/usr/bin/env bash
# Runs a command inside a private Wine session and cleans up after it: a
# fresh prefix in a temporary folder, a virtual X display with a window
# manager (without one, closing a window takes seconds), code page 932 and
# IPAGothic for the Japanese UI fonts. The command sees WINEPREFIX, DISPLAY
# and VANTOREL_WINE_SESSION; every process started here is stopped at the end.
#
#   tests/win/wine-session.sh ctest --preset win64
set -euo pipefail

[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }

readonly boot_timeout=180
readonly stop_timeout=30

session=$(mktemp -d "${TMPDIR:-/tmp}/vantorel-wine.XXXXXX")
xvfb_pid=""
wm_pid=""

stop_session() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        timeout "$stop_timeout" wineserver -k >/dev/null 2>&1 || true
    fi
    [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    [ -z "$wm_pid" ] || wait "$wm_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || wait "$xvfb_pid" 2>/dev/null || true
    rm -rf "$session"
}
trap stop_session EXIT

export WINEPREFIX="$session/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export DBUS_SESSION_BUS_ADDRESS=disabled:
export LC_ALL=ja_JP.UTF-8
export HOME="$session/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"
export XDG_RUNTIME_DIR="$session/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# A display of our own, numbered by the X server itself.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$session/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$session/display" ] && break
    sleep 0.1
done
[ -s "$session/display" ] || { echo "wine-session: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$session/display")"

# The window manager. Now and then it cannot open a display that has just
# come up and ends at once: it is started again, three times at most.
running() {
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) && [ -n "$state" ] && [ "$state" != Z ]
}
wm_ready() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
}
for _ in 1 2 3; do
    openbox --sm-disable </dev/null >/dev/null 2>&1 &
    wm_pid=$!
    for _ in $(seq 150); do
        wm_ready || ! running "$wm_pid" && break
        sleep 0.1
    done
    running "$wm_pid" && wm_ready && break
    kill "$wm_pid" 2>/dev/null || true
    wait "$wm_pid" 2>/dev/null || true
    wm_pid=""
done
[ -n "$wm_pid" ] || echo "wine-session: openbox did not start; windows will close slowly" >&2

timeout "$boot_timeout" wineboot --init >/dev/null 2>&1
timeout "$boot_timeout" wineserver -w
timeout "$stop_timeout" wine reg add 'HKCU\Software\Wine\Fonts\Replacements' \
    /v 'MS UI Gothic' /d IPAGothic /f >/dev/null 2>&1
timeout "$stop_timeout" wine reg add 'HKCU\Software\Wine\Fonts\Replacements' \
    /v 'MS Shell Dlg' /d IPAGothic /f >/dev/null 2>&1
timeout "$stop_timeout" wineserver -w

# One server for the whole session, so that each program starts quickly. The
# first program also starts Wine's own background processes, which stay for
# the session: start them here, away from the command's pipes, or whoever
# reads a program's output (CTest) would wait for them to close.
wineserver -p
timeout "$stop_timeout" wine cmd /c exit </dev/null >/dev/null 2>&1
export VANTOREL_WINE_SESSION="$session"

status=0
"$@" || status=$?
exit "$status"
