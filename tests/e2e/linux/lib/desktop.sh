# A private X desktop for Vantorel: Xvfb, openbox and tint2 (the tray host),
# with HOME and XDG_* in a folder of its own. Sourced by the end-to-end
# tests and by ./run; the caller runs under dbus-run-session so that no
# session bus outlives it.
#
#   desktop_start WORKDIR   starts everything, exports DISPLAY, HOME, XDG_*
#                           (DESKTOP_TRAY=no: no tray host)
#   tray_stop / tray_start  ends or starts the tray host (tint2)
#   desktop_stop            stops what desktop_start started
#   desktop_screenshot FILE writes a PNG of the whole screen
#   wait_for SECONDS CMD... runs CMD until it succeeds; fails after SECONDS

E2E_LIB="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
DESKTOP_PIDS=()

wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            return 1
        fi
        sleep 0.1
    done
}

window_manager_ready() {
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"
}

tray_ready() {
    [ "$(python3 "$E2E_LIB/xtool.py" selection-owner _NET_SYSTEM_TRAY_S0)" != 0 ]
}

desktop_start() {
    local workdir=$1
    mkdir -p "$workdir/home" "$workdir/config" "$workdir/data" "$workdir/cache" "$workdir/runtime"
    chmod 0700 "$workdir/runtime"
    export HOME="$workdir/home" XDG_CONFIG_HOME="$workdir/config" XDG_DATA_HOME="$workdir/data"
    export XDG_CACHE_HOME="$workdir/cache" XDG_RUNTIME_DIR="$workdir/runtime"
    unset WAYLAND_DISPLAY XDG_SESSION_TYPE
    export QT_QPA_PLATFORM=xcb

    # Xvfb picks a free display number and writes it to the file.
    : >"$workdir/display"
    setsid Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -nolisten unix_abstract \
        9>"$workdir/display" >"$workdir/xvfb.log" 2>&1 &
    DESKTOP_PIDS+=($!)
    wait_for 15 test -s "$workdir/display" || {
        echo "desktop: Xvfb did not start" >&2
        return 1
    }
    export DISPLAY=":$(head -n1 "$workdir/display")"
    wait_for 15 xdpyinfo || {
        echo "desktop: $DISPLAY does not answer" >&2
        return 1
    }

    DESKTOP_WORK=$workdir
    local openbox
    openbox=$(start_client window_manager_ready openbox) || {
        echo "desktop: openbox did not start" >&2
        return 1
    }
    DESKTOP_PIDS+=("$openbox")
    if [ "${DESKTOP_TRAY:-yes}" != no ]; then
        tray_start
    fi
}

tray_start() {
    TRAY_PID=$(start_client tray_ready tint2) || {
        TRAY_PID=""
        echo "desktop: the tray did not come up" >&2
        return 1
    }
}

# start_client READY PROGRAM: starts PROGRAM on the desktop and prints its
# pid once READY holds. Now and then a client cannot open a display that
# has just answered another client, and ends at once: it is started again,
# three times at most.
start_client() {
    local ready=$1 program=$2 attempt pid
    for attempt in 1 2 3; do
        setsid "$program" >>"$DESKTOP_WORK/$program.log" 2>&1 </dev/null &
        pid=$!
        if wait_for 15 ready_or_ended "$ready" "$pid" && process_alive "$pid"; then
            "$ready" && { echo "$pid"; return 0; }
        fi
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        echo "desktop: $program did not come up (attempt $attempt)" >&2
    done
    return 1
}

ready_or_ended() {
    "$1" || process_gone "$2"
}

tray_stop() {
    [ -n "${TRAY_PID:-}" ] || return 0
    kill -TERM "$TRAY_PID" 2>/dev/null || true
    wait_gone 5 "$TRAY_PID" || kill -KILL "$TRAY_PID" 2>/dev/null || true
    wait "$TRAY_PID" 2>/dev/null || true
    TRAY_PID=""
}

desktop_stop() {
    local pid
    tray_stop
    for ((i = ${#DESKTOP_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${DESKTOP_PIDS[i]}
        kill -TERM "$pid" 2>/dev/null || true
    done
    for pid in "${DESKTOP_PIDS[@]}"; do
        wait_gone 5 "$pid" || kill -KILL "$pid" 2>/dev/null || true
    done
    DESKTOP_PIDS=()
}

# True while the process runs (an ended child that was not yet waited for
# is a zombie and counts as ended).
process_alive() {
    local state
    state=$(sed -n 's/^[0-9]* (.*) \([A-Za-z]\).*/\1/p' "/proc/$1/stat" 2>/dev/null) || return 1
    [ -n "$state" ] && [ "$state" != Z ] && [ "$state" != X ]
}

process_gone() {
    ! process_alive "$1"
}

# Waits up to SECONDS until the process has ended.
wait_gone() {
    wait_for "$1" process_gone "$2"
}

desktop_screenshot() {
    import -silent -window root "$1"
}
