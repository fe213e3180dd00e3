# A private Wayland session for Vantorel: a headless weston (no X display
# at all), a session bus of its own on which nothing is started on demand,
# xfce4-notifyd as the notification daemon and tray-watcher.py as the panel
# that tray icons register with. Sourced after e2e.sh (which brings
# desktop.sh); everything started here is ended by desktop_stop, in reverse
# order of start.
#
#   wayland_start WORKDIR       starts everything, exports WAYLAND_DISPLAY,
#                               DBUS_SESSION_BUS_ADDRESS, HOME, XDG_*
#   desktop_screenshot FILE     a PNG of the compositor's output
#   tray_events                 what the panel saw, one JSON line per event
#   notify_calls                the Notify calls the daemon answered, as
#                               "summary<TAB>body" lines (body's newlines
#                               as \n)

WAYLAND_SOCKET=vantorel-e2e
NOTIFYD=/usr/lib/x86_64-linux-gnu/xfce4/notifyd/xfce4-notifyd
# The watcher needs Debian's python3-dbus and python3-gi, which another
# python3 earlier on PATH may lack.
DEBIAN_PYTHON=/usr/bin/python3

wayland_socket_up() {
    [ -S "$XDG_RUNTIME_DIR/$WAYLAND_SOCKET" ]
}

bus_name_owned() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q "boolean true"
}

# The unique name (":1.N") of the connection that owns a name on the bus.
bus_name_owner() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.GetNameOwner "string:$1" 2>/dev/null |
        sed -n 's/^ *string "\(.*\)"$/\1/p'
}

wayland_start() {
    local workdir=$1
    mkdir -p "$workdir/home" "$workdir/config" "$workdir/data" "$workdir/cache" "$workdir/tray"
    export HOME="$workdir/home" XDG_CONFIG_HOME="$workdir/config" XDG_DATA_HOME="$workdir/data"
    export XDG_CACHE_HOME="$workdir/cache"
    make_runtime_folder
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    unset LANGUAGE DISPLAY XAUTHORITY
    DESKTOP_WORK=$workdir

    write_bus_config "$workdir/bus.conf"
    local bus
    bus=$(dbus-daemon --config-file="$workdir/bus.conf" --fork --nopidfile \
        --print-address=1 --print-pid=1 </dev/null 2>"$workdir/dbus.log") || {
        echo "wayland: the session bus did not start" >&2
        return 1
    }
    export DBUS_SESSION_BUS_ADDRESS="$(sed -n 1p <<<"$bus")"
    DESKTOP_PIDS+=("$(sed -n 2p <<<"$bus")")

    # --debug lets weston-screenshooter read the output; the pixman
    # renderer draws into memory, so there is something to read.
    setsid weston --backend=headless-backend.so --use-pixman --debug --no-config \
        --socket="$WAYLAND_SOCKET" --idle-time=0 --width=1024 --height=768 \
        --log="$workdir/weston.log" </dev/null >/dev/null 2>&1 &
    DESKTOP_PIDS+=($!)
    wait_for 15 wayland_socket_up || {
        echo "wayland: weston did not start; its log:" >&2
        sed 's/^/  /' "$workdir/weston.log" >&2
        return 1
    }
    export WAYLAND_DISPLAY=$WAYLAND_SOCKET XDG_SESSION_TYPE=wayland
    export QT_QPA_PLATFORM=wayland GDK_BACKEND=wayland

    setsid "$DEBIAN_PYTHON" "$E2E_LIB/tray-watcher.py" "$workdir/tray/events" "$workdir/tray" \
        </dev/null >"$workdir/tray-watcher.log" 2>&1 &
    DESKTOP_PIDS+=($!)
    wait_for 15 bus_name_owned org.kde.StatusNotifierWatcher || {
        echo "wayland: the tray watcher did not start; its log:" >&2
        sed 's/^/  /' "$workdir/tray-watcher.log" >&2
        return 1
    }

    # Weston's headless output has no seat: GTK complains about it at
    # every notification, harmlessly.
    setsid "$NOTIFYD" </dev/null >"$workdir/notifyd.log" 2>&1 &
    DESKTOP_PIDS+=($!)
    wait_for 15 bus_name_owned org.freedesktop.Notifications || {
        echo "wayland: xfce4-notifyd did not start; its log:" >&2
        sed 's/^/  /' "$workdir/notifyd.log" >&2
        return 1
    }
    NOTIFYD_BUS_NAME=$(bus_name_owner org.freedesktop.Notifications)

    # Every Notify call and the daemon's answer to it, as the bus carries
    # them.
    setsid dbus-monitor --session \
        "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" \
        "type='method_return'" </dev/null >"$workdir/notify-monitor.log" 2>&1 &
    DESKTOP_PIDS+=($!)
    # It reports its own name first, once it is on the bus as a monitor.
    wait_for 15 grep -q "member=NameAcquired" "$workdir/notify-monitor.log" || {
        echo "wayland: dbus-monitor did not start; its log:" >&2
        sed 's/^/  /' "$workdir/notify-monitor.log" >&2
        return 1
    }
}

desktop_screenshot() {
    # weston-screenshooter writes wayland-screenshot-<time>.png into the
    # current folder.
    local folder
    folder=$(mktemp -d "$DESKTOP_WORK/shot.XXXXXX")
    (cd "$folder" && timeout 15 weston-screenshooter) &&
        mv "$folder"/wayland-screenshot-*.png "$1"
    rm -rf "$folder"
}

tray_events() {
    cat "$DESKTOP_WORK/tray/events" 2>/dev/null || true
}

notify_calls() {
    python3 "$E2E_LIB/notify-calls.py" "$DESKTOP_WORK/notify-monitor.log" "$NOTIFYD_BUS_NAME"
}
