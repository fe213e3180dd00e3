# A private X desktop for Vantorel: Xvfb, openbox and tint2 (the tray host),
# with a session bus, HOME and XDG_* of its own. Sourced by the end-to-end
# tests, ./run and the benchmarks.
#
#   desktop_start WORKDIR   starts everything, exports DISPLAY, HOME, XDG_*
#                           (DESKTOP_TRAY=no: no tray host)
#   tray_stop / tray_start  ends or starts the tray host (tint2)
#   desktop_stop            stops what desktop_start started
#   desktop_screenshot FILE writes a PNG of the whole screen
#   wait_for SECONDS CMD... runs CMD until it succeeds; fails after SECONDS

E2E_LIB="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
DESKTOP_PIDS=()
# A root window property nobody sets: watching it keeps a connection open.
DESKTOP_HOLD_PROPERTY=VANTOREL_DESKTOP_HOLD

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

# A session bus with no service folders: a name nobody owns stays unowned,
# so no notification daemon installed on the machine (dunst, xfce4-notifyd,
# GNOME's) is started behind a test's back, on X11 or Wayland: a test that
# wants one starts it. Monitoring is allowed (the Wayland tests record the
# Notify calls).
write_bus_config() {
    cat >"$1" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$XDG_RUNTIME_DIR</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
}

# make_runtime_folder: the session's XDG_RUNTIME_DIR, a private folder
# directly under /tmp. The session bus and the compositor put their sockets
# there, and a socket's path may be at most 107 bytes, which a folder
# inside a deep checkout exceeds. desktop_stop removes it.
make_runtime_folder() {
    DESKTOP_RUNTIME=$(mktemp -d /tmp/vantorel-xdg.XXXXXX)
    note_for_reaper folder "$DESKTOP_RUNTIME"
    export XDG_RUNTIME_DIR=$DESKTOP_RUNTIME
}

# note_for_reaper KIND ITEM: tells an end-to-end test's reaper
# (lib/reaper.sh) of something to stop or remove that it cannot find by the
# test's mark. Without a reaper it does nothing.
note_for_reaper() {
    [ -z "${E2E_REAP_LIST:-}" ] || echo "$1 $2" >>"$E2E_REAP_LIST"
}

desktop_start() {
    local workdir=$1
    mkdir -p "$workdir/home" "$workdir/config" "$workdir/data" "$workdir/cache"
    export HOME="$workdir/home" XDG_CONFIG_HOME="$workdir/config" XDG_DATA_HOME="$workdir/data"
    export XDG_CACHE_HOME="$workdir/cache"
    make_runtime_folder
    unset WAYLAND_DISPLAY XDG_SESSION_TYPE
    export QT_QPA_PLATFORM=xcb
    # A desktop session speaks UTF-8 whatever the caller's shell was set to
    # (a login shell of a new user has the POSIX locale): the tools that
    # type and find Japanese window titles need it.
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    unset LANGUAGE

    # A session bus of the desktop's own, ended with it (the first to start,
    # the last to go).
    local bus
    write_bus_config "$workdir/bus.conf"
    bus=$(dbus-daemon --config-file="$workdir/bus.conf" --fork --nopidfile \
        --print-address=1 --print-pid=1 </dev/null 2>"$workdir/dbus.log") || {
        echo "desktop: the session bus did not start" >&2
        return 1
    }
    export DBUS_SESSION_BUS_ADDRESS="$(sed -n 1p <<<"$bus")"
    DESKTOP_PIDS+=("$(sed -n 2p <<<"$bus")")

    # Xvfb picks a free display number and writes it to the file. Without
    # -noreset it would reset whenever its last client left, and a client
    # starting at that moment could not open the display.
    : >"$workdir/display"
    setsid Xvfb -displayfd 9 -noreset -screen 0 1024x768x24 -nolisten tcp \
        -nolisten unix_abstract 9>"$workdir/display" >"$workdir/xvfb.log" 2>&1 &
    DESKTOP_PIDS+=($!)
    wait_for 15 test -s "$workdir/display" || {
        echo "desktop: Xvfb did not start" >&2
        return 1
    }
    export DISPLAY=":$(head -n1 "$workdir/display")"
    # One connection stays open while the desktop runs, so the server never
    # sees its last client leave. It prints once it is connected.
    setsid xprop -root -spy "$DESKTOP_HOLD_PROPERTY" >"$workdir/hold" 2>&1 </dev/null &
    DESKTOP_PIDS+=($!)
    wait_for 15 test -s "$workdir/hold" || {
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

# start_client READY PROGRAM: starts PROGRAM on the desktop, in a process
# group of its own, and prints its pid once READY holds. A program that
# ends or never gets ready is a failure, with its log.
start_client() {
    local ready=$1 program=$2 pid
    setsid "$program" >>"$DESKTOP_WORK/$program.log" 2>&1 </dev/null &
    pid=$!
    if wait_for 15 ready_or_ended "$ready" "$pid" && process_alive "$pid" && "$ready"; then
        echo "$pid"
        return 0
    fi
    stop_group "$pid"
    echo "desktop: $program did not come up; its log:" >&2
    sed 's/^/  /' "$DESKTOP_WORK/$program.log" >&2
    return 1
}

ready_or_ended() {
    "$1" || process_gone "$2"
}

tray_stop() {
    [ -n "${TRAY_PID:-}" ] || return 0
    stop_group "$TRAY_PID"
    TRAY_PID=""
}

# stop_group PID: ends the process group PID leads (a program started with
# setsid and whatever it started), at last with SIGKILL.
stop_group() {
    kill -TERM -- "-$1" 2>/dev/null || kill -TERM "$1" 2>/dev/null || true
    wait_gone 5 "$1" || kill -KILL -- "-$1" 2>/dev/null || kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# Stops the desktop in reverse order of start: the X server last.
desktop_stop() {
    local i
    tray_stop
    for ((i = ${#DESKTOP_PIDS[@]} - 1; i >= 0; i--)); do
        stop_group "${DESKTOP_PIDS[i]}"
    done
    DESKTOP_PIDS=()
    if [ -n "${DESKTOP_RUNTIME:-}" ]; then
        rm -rf "$DESKTOP_RUNTIME"
        DESKTOP_RUNTIME=""
    fi
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
