# Sourced by the benchmark scripts: runs the calling script again under a
# session bus of its own (dbus-run-session), in a process group of its own.
# An interrupt or a TERM for the caller is passed to that whole group, so
# that the script's own clean-up ends every process it started.
#
#   source bench/own-session.sh
#   in_own_session "$0" "$@"     # returns only inside the session

in_own_session() {
    [ -z "${VANTOREL_BENCH_SESSION:-}" ] || return 0
    export VANTOREL_BENCH_SESSION=1
    # Background jobs of a script share its process group, so setsid needs
    # no fork: the job's pid is the new group's id.
    setsid dbus-run-session -- "$@" &
    local group=$! status=0
    trap 'kill -TERM -- "-$group" 2>/dev/null' INT TERM
    # A trapped signal ends `wait` early: wait on until the group's leader
    # (and with it the clean-up) is done.
    while kill -0 "$group" 2>/dev/null; do
        wait "$group" && status=0 || status=$?
    done
    exit "$status"
}
