#!/usr/bin/env bash
# Every benchmark of the program, then one table: figure, goal, one column
# per measured build, peer. Figures only; nothing here passes or fails.
#
# usage: bench/run-all.sh [--build [LABEL=]DIR]... [--win-build [LABEL=]DIR]...
#                         [--no-windows] [--runs N] [--checks N] [--idle-seconds S]
#                         [--mail N]
#   --build      a Linux build folder (vantorel, libpopmail.so, popcheck) to
#                measure; repeat it to measure an older commit's build beside
#                the current one. Default: build, labelled "current".
#   --win-build  a Windows build folder (vantorel.exe) measured under Wine; a
#                LABEL shared with a --build puts both in one column. Default:
#                build-win64 when it holds vantorel.exe.
#   --no-windows leaves Windows out
#   --runs       starts timed to the tray icon (20)
#   --checks     checks driven from the tray menu for the memory figure (100)
#   --idle-seconds  length of each idle measurement (60)
#   --mail       messages each check announces (3)
#
# Installs what it needs through tests/scripts/install-deps.sh. Runs on a
# private desktop (Xvfb, openbox, tint2) under its own session bus, with
# private dovecot servers on free ports, a private Wine session, and a
# temporary folder; all of it is stopped and removed at the end.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

usage() { sed -n '5,20s/^# \{0,1\}//p' "$0"; }
arguments=("$@")

labels=() builds=() win_labels=() win_builds=()
windows=default runs=20 checks=100 idle_seconds=60 mail=3
split_build() {  # [LABEL=]DIR DEFAULT_LABEL -> label dir
    if [[ "$1" == *=* ]]; then
        printf '%s\n%s\n' "${1%%=*}" "${1#*=}"
    else
        printf '%s\n%s\n' "$2" "$1"
    fi
}
while [ $# -gt 0 ]; do
    case "$1" in
        --build | --win-build)
            [ $# -ge 2 ] || { usage >&2; exit 2; }
            { read -r label; read -r dir; } < <(split_build "$2" "$(basename "$2")")
            [ -d "$dir" ] || { echo "run-all.sh: no folder $dir" >&2; exit 2; }
            dir="$(cd "$dir" && pwd)"
            if [ "$1" = --build ]; then
                labels+=("$label") builds+=("$dir")
            else
                win_labels+=("$label") win_builds+=("$dir")
            fi
            shift 2 ;;
        --no-windows) windows=no; shift ;;
        --runs) runs=$2; shift 2 ;;
        --checks) checks=$2; shift 2 ;;
        --idle-seconds) idle_seconds=$2; shift 2 ;;
        --mail) mail=$2; shift 2 ;;
        -h | --help) usage; exit 0 ;;
        *) usage >&2; exit 2 ;;
    esac
done
if [ ${#builds[@]} -eq 0 ]; then
    labels=(current) builds=("$root/build")
fi
# build-win64 is built from this checkout: its column is that of build/.
if [ "$windows" = default ] && [ ${#win_builds[@]} -eq 0 ] && [ -f build-win64/vantorel.exe ]; then
    win_label=current
    for i in "${!builds[@]}"; do
        [ "${builds[i]}" = "$root/build" ] && win_label=${labels[i]}
    done
    win_labels=("$win_label") win_builds=("$root/build-win64")
fi
[ "$windows" = no ] && win_labels=() win_builds=()
for dir in "${builds[@]}"; do
    [ -x "$dir/vantorel" ] || { echo "run-all.sh: no $dir/vantorel: build it first" >&2; exit 2; }
done

# A session bus of our own, which ends with the run.
if [ -z "${VANTOREL_BENCH_SESSION:-}" ]; then
    tests/scripts/install-deps.sh
fi
source bench/own-session.sh
in_own_session "$root/bench/run-all.sh" "${arguments[@]}"

source tests/e2e/linux/lib/desktop.sh
# Debian's python3: a version manager's shim on PATH may take seconds to start.
python=/usr/bin/python3
[ -x "$python" ] || python="$(command -v python3)"

work="$(mktemp -d "${TMPDIR:-/tmp}/vantorel-bench.XXXXXX")"
results="$work/results.tsv"
: >"$results"
cleanup() {
    set +e
    trap - EXIT INT TERM
    tests/dovecot/stop-dovecot.sh "$work/dovecot" >/dev/null 2>&1
    desktop_stop
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

machine() {
    echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)," \
         "$(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo), kernel $(uname -r)"
    echo "load average ($1): $(cut -d' ' -f1-3 /proc/loadavg)"
}

echo "== Vantorel benchmarks, $(date '+%Y-%m-%d %H:%M')"
machine "at the start"
for i in "${!builds[@]}"; do
    echo "build ${labels[i]}: ${builds[i]} ($(git -C "${builds[i]}" rev-parse --short HEAD 2>/dev/null || echo "no git"))"
done

echo "== The peer: a bare Qt 6 tray program (build-bench/peer-tray)"
peer_build="$root/build-bench/peer-tray"
if ! { cmake -S bench/peer-tray -B "$peer_build" -G Ninja &&
       cmake --build "$peer_build" -j 2; } >"$work/peer-build.log" 2>&1; then
    cat "$work/peer-build.log" >&2
    exit 1
fi
peer="$peer_build/peer-tray"

desktop_start "$work/desktop"
echo "private desktop on $DISPLAY"
tests/dovecot/start-dovecot.sh "$work/dovecot" >/dev/null
source "$work/dovecot/dovecot.env"
maildir="$work/dovecot/home/$ALICE_USER/Maildir"
rm -rf "$maildir"
"$python" tests/e2e/linux/lib/sample-mail.py "$maildir" "$mail" >/dev/null
chown -R --reference="$work/dovecot/home" "$work/dovecot/home"

desktop_figure() {  # FIGURE LABEL PROGRAM [OPTIONS...]
    local figure=$1 label=$2 program=$3
    shift 3
    echo "-- $figure: $label (load average $(cut -d' ' -f1-3 /proc/loadavg))"
    "$python" bench/desktop_bench.py "$figure" "$program" --label "$label" --results "$results" \
        --work "$work/$figure-$label" --dovecot-log "$work/dovecot/dovecot.log" "$@"
}

# Figure by figure, each build in turn, so that a change of the machine's
# load during the run falls on every build alike.
echo "== Start-up: exec to the icon in the tray, $runs starts"
for i in "${!builds[@]}"; do
    desktop_figure startup "${labels[i]}" "${builds[i]}" --runs "$runs"
done
desktop_figure startup bare-qt-tray "$peer" --runs "$runs"

echo "== Idle in tray mode (no mail), and VmRSS after start"
for i in "${!builds[@]}"; do
    desktop_figure tray-idle "${labels[i]}" "${builds[i]}" --idle-seconds "$idle_seconds"
done
desktop_figure tray-idle bare-qt-tray "$peer" --idle-seconds "$idle_seconds"

echo "== Idle after an announcement of $mail messages has ended"
for i in "${!builds[@]}"; do
    desktop_figure announce-idle "${labels[i]}" "${builds[i]}" --idle-seconds "$idle_seconds"
done

echo "== VmRSS over $checks checks from the tray menu, each announcing $mail messages"
for i in "${!builds[@]}"; do
    desktop_figure checks "${labels[i]}" "${builds[i]}" --checks "$checks"
done

echo "== One check: STAT + 50 summaries through a relay adding 10 ms each way"
peers=()
for i in "${!builds[@]}"; do
    if [ -x "${builds[i]}/popcheck" ]; then
        echo "-- ${labels[i]} (load average $(cut -d' ' -f1-3 /proc/loadavg))"
        bench/run-mail-bench.sh "${builds[i]}" --results "$results" --label "${labels[i]}" \
            "${peers[@]}"
        peers=(--no-peers)
    else
        echo "-- ${labels[i]}: no popcheck in ${builds[i]}"
    fi
done

if [ ${#win_builds[@]} -gt 0 ]; then
    echo "== Windows: vantorel.exe in the tray under Wine (indicative)"
    for i in "${!win_builds[@]}"; do
        echo "-- ${win_labels[i]}"
        bench/wine-tray-memory.sh "${win_builds[i]}" --results "$results" --label "${win_labels[i]}"
    done
fi

echo
echo "== Vantorel benchmarks: the table"
machine "at the end"
subjects=("${labels[@]}")
for label in "${win_labels[@]}"; do
    [[ " ${subjects[*]} " == *" $label "* ]] || subjects+=("$label")
done
"$python" bench/results.py "$results" "${subjects[@]}"
