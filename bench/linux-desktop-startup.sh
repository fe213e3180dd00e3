#!/usr/bin/env bash
# Start-up time to the tray and idle memory of the Linux desktop program, on
# a private X desktop (Xvfb, openbox, tint2). Needs a build in build/.
#
# usage: bench/linux-desktop-startup.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || [ "${1:-}" != --inside-session ]; then
    exec dbus-run-session -- "bench/$(basename "$0")" --inside-session "$@"
fi
shift
source tests/e2e/linux/lib/desktop.sh
work=$(mktemp -d)
trap 'desktop_stop; rm -rf "$work"' EXIT
desktop_start "$work/desktop"
mkdir -p "$work/program"
cp build/vantorel "$work/program/"
[ -f build/libpopmail.so ] && cp build/libpopmail.so "$work/program/"
printf '[USERINFO]\r\nREMOTEHOST=127.0.0.1:9\r\nUSERNAME=bench\r\nPASSWORD=bench\r\nINTERVAL=30\r\nTIMER=1\r\nSTARTUP=True\r\n' \
    >"$work/program/vantorel.ini"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
python3 bench/desktop_startup.py "$work/program" "${1:-5}"
