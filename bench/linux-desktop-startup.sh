#!/usr/bin/env bash
# Start-up time to the tray icon and memory in tray mode of the Linux
# desktop program, on a private X desktop (Xvfb, openbox, tint2) with a
# private dovecot. A part of bench/run-all.sh, for a quick look.
#
# usage: bench/linux-desktop-startup.sh [RUNS] [BUILD_DIR]   (20, build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
runs=${1:-20}
build="$(cd "${2:-build}" && pwd)"
[ -x "$build/vantorel" ] || { echo "no $build/vantorel: build first" >&2; exit 1; }
source bench/own-session.sh
in_own_session "$root/bench/linux-desktop-startup.sh" "$runs" "$build"
source tests/e2e/linux/lib/desktop.sh
work="$(mktemp -d "${TMPDIR:-/tmp}/vantorel-bench.XXXXXX")"
trap 'tests/dovecot/stop-dovecot.sh "$work/dovecot" >/dev/null 2>&1; desktop_stop; rm -rf "$work"' EXIT
desktop_start "$work/desktop"
tests/dovecot/start-dovecot.sh "$work/dovecot" >/dev/null
source "$work/dovecot/dovecot.env"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for figure in startup tray-idle; do
    python3 bench/desktop_bench.py "$figure" "$build" --label "$(basename "$build")" \
        --results "$work/results.tsv" --work "$work/$figure" --runs "$runs" \
        --dovecot-log "$work/dovecot/dovecot.log"
done
