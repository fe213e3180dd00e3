# shellcheck shell=bash
# The dovecot log lines of one test case, for the case scripts to source
# once $workdir is set and before the case talks to the server.
#
# dovecot writes its log through a log process of its own, so the line about
# a login can reach the file a moment after the client has ended, and later
# still on a busy machine. A case therefore waits for the lines it needs
# instead of reading the file once.

log_wait_seconds=20

# Every login of an earlier case has logged its session's end and the log
# has been still for a moment, so that no late line of an earlier case is
# taken for one of this case.
log_quiet_polls=3
log_settled() {
    local logins ends
    logins=$(grep -c "Login: user=" "$workdir/dovecot.log" || true)
    ends=$(grep -cE " pop3\([^)]*\)<[0-9]+>.*Disconnected" "$workdir/dovecot.log" || true)
    [ "$ends" -ge "$logins" ]
}

log_deadline=$((SECONDS + log_wait_seconds))
log_size=-1
log_still=0
while [ "$log_still" -lt "$log_quiet_polls" ] && [ "$SECONDS" -lt "$log_deadline" ]; do
    size=$(wc -c <"$workdir/dovecot.log")
    if [ "$size" -eq "$log_size" ] && log_settled; then
        log_still=$((log_still + 1))
    else
        log_still=0
    fi
    log_size=$size
    sleep 0.1
done
log_mark=$(wc -l <"$workdir/dovecot.log")

new_log() { tail -n +"$((log_mark + 1))" "$workdir/dovecot.log"; }

# await_log GREP_ARGUMENTS...: true once a line of this case matches; false
# when none did within log_wait_seconds.
await_log() {
    local deadline=$((SECONDS + log_wait_seconds))
    until new_log | grep -q "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# await_sessions_end USER: true once USER has logged in and every session of
# USER has logged its end, so that counting USER's logins counts them all.
await_sessions_end() {
    local user="$1" deadline=$((SECONDS + log_wait_seconds)) logins ends
    while :; do
        logins=$(new_log | grep -cF "Login: user=<$user>" || true)
        ends=$(new_log | grep -F "pop3($user)<" | grep -c "Disconnected" || true)
        [ "$logins" -gt 0 ] && [ "$ends" -ge "$logins" ] && return 0
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# await_login_refused: true once the login process has logged the end of a
# connection that never logged in, so that the absence of a login can be
# trusted.
await_login_refused() {
    await_log -E "pop3-login: .*Disconnected.*(no auth attempts|auth failed|Aborted login)"
}
