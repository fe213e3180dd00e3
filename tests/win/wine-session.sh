#!/usr/bin/env bash
# Runs a command inside a private Wine session and cleans up after it: a
# fresh prefix in a temporary folder, a virtual X display with a window
# manager (without one, closing a window takes seconds), code page 932 and
# IPAGothic for the Japanese UI fonts. The command sees WINEPREFIX, DISPLAY
# and VANTOREL_WINE_SESSION; every process started here is stopped at the end.
# At its end it prints how often Wine had to start a program again
# (wine-run.sh), and adds those lines to $VANTOREL_WINE_RETRY_LOG if set.
#
#   tests/win/wine-session.sh ctest --preset win64
set -euo pipefail

[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }

readonly boot_timeout=180
readonly stop_timeout=30
readonly start_polls=150   # of 0.1 s each

session=$(mktemp -d "${TMPDIR:-/tmp}/vantorel-wine.XXXXXX")
xvfb_pid=""
hold_pid=""
wm_pid=""

# Reports how often Wine had to be asked again to start a program
# (wine-run.sh), then stops every process of the session.
stop_session() {
    local status=$? retries=0
    trap - EXIT INT TERM HUP
    if [ -f "$session/wine-start-retries" ]; then
        retries=$(wc -l <"$session/wine-start-retries")
        cat "$session/wine-start-retries" >&2
        # ./test counts them in its closing note.
        [ -z "${VANTOREL_WINE_RETRY_LOG:-}" ] ||
            cat "$session/wine-start-retries" >>"$VANTOREL_WINE_RETRY_LOG"
    fi
    echo "wine-session: wine-start retries: $retries" >&2
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        timeout "$stop_timeout" wineserver -k >/dev/null 2>&1 || true
    fi
    local pid
    for pid in $wm_pid $hold_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$session"
    exit "$status"
}
trap stop_session EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

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

# A display of our own, numbered by the X server itself. Without -noreset
# it would reset whenever its last client left, and a program starting at
# that moment could not open it.
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$session/display" \
    >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq "$start_polls"); do
    [ -s "$session/display" ] && break
    sleep 0.1
done
[ -s "$session/display" ] || { echo "wine-session: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$session/display")"
# One connection stays open for the whole session; it prints once connected.
xprop -root -spy VANTOREL_SESSION_HOLD >"$session/hold" 2>&1 </dev/null &
hold_pid=$!
for _ in $(seq "$start_polls"); do
    [ -s "$session/hold" ] && break
    sleep 0.1
done
[ -s "$session/hold" ] || { echo "wine-session: $DISPLAY does not answer" >&2; exit 1; }

# The window manager.
running() {
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) && [ -n "$state" ] && [ "$state" != Z ]
}
wm_ready() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
}
openbox --sm-disable </dev/null >"$session/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq "$start_polls"); do
    wm_ready || ! running "$wm_pid" && break
    sleep 0.1
done
if ! running "$wm_pid" || ! wm_ready; then
    echo "wine-session: openbox did not start:" >&2
    cat "$session/openbox.log" >&2
    exit 1
fi

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
