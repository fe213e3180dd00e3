#!/usr/bin/env bash
# One integration case against the private dovecot of the test fixture.
# usage: dovecot-case.sh POPCHECK DOVECOT_WORKDIR CASE
set -euo pipefail

popcheck="$1"
workdir="$2"
case_name="$3"
# shellcheck source=/dev/null
source "$workdir/dovecot.env"

fail() {
    echo "FAILED: $case_name: $*" >&2
    exit 1
}

# popcheck with the password on standard input; output in $out, status in $rc.
check() {
    local password="$1"
    shift
    set +e
    out="$(printf '%s\n' "$password" | "$popcheck" "$@")"
    rc=$?
    set -e
    printf '%s\n' "$out"
}

# shellcheck source=case-log.sh
source "$(dirname "$0")/case-log.sh"

case "$case_name" in
stls)
    check "$ALICE_PASSWORD" "localhost:$POP3_PORT" alice STAT
    [ "$rc" -eq 0 ] || fail "exit $rc"
    [ "$(head -1 <<<"$out")" = "60 $(sed -n 's/^60 //p' <<<"$out")" ] || fail "STAT: $out"
    await_log "method=PLAIN.*TLS" || fail "login was not PLAIN over TLS"
    ;;
implicit-tls)
    check "$ALICE_PASSWORD" "pop3s://localhost:$POP3S_PORT" alice STAT "LIST 1-2"
    [ "$rc" -eq 0 ] || fail "exit $rc"
    [ "$(sed -n 3p <<<"$out")" = "$(sed -n 1p "$ALICE_EXPECTED")" ] || fail "LIST: $out"
    # STAT and LIST shared one login.
    await_sessions_end alice || fail "no login logged"
    [ "$(new_log | grep -c 'Login: user=<alice>')" -eq 1 ] || fail "not one login"
    ;;
ip-literal)
    check "$ALICE_PASSWORD" "pop3s://127.0.0.1:$POP3S_PORT" alice STAT
    [ "$rc" -eq 0 ] || fail "exit $rc"
    ;;
apop)
    check "$ALICE_PASSWORD" "pop3://$POP3_NOTLS_HOST:$POP3_NOTLS_PORT" alice STAT
    [ "$rc" -eq 0 ] || fail "exit $rc"
    await_log "method=APOP" || fail "login was not APOP"
    ;;
no-tls-refused)
    check "$ALICE_PASSWORD" "$POP3_NOTLS_HOST:$POP3_NOTLS_PORT" alice STAT
    [ "$rc" -eq 1 ] || fail "exit $rc"
    grep -q "pop3://$POP3_NOTLS_HOST:$POP3_NOTLS_PORT" <<<"$out" || fail "no advice: $out"
    await_login_refused || fail "the connection's end was not logged"
    if new_log | grep -q "user=<alice>"; then fail "a login was attempted"; fi
    ;;
wrong-password)
    check "not-the-password" "pop3s://localhost:$POP3S_PORT" alice STAT
    [ "$rc" -eq 1 ] || fail "exit $rc"
    grep -q "パスワードを確認してください" <<<"$out" || fail "text: $out"
    grep -qF "。サーバーの応答: -ERR [AUTH]" <<<"$out" || fail "no server text: $out"
    if grep -q "not-the-password" <<<"$out"; then fail "password shown"; fi
    ;;
empty-mailbox)
    check "$EMPTY_PASSWORD" "pop3s://localhost:$POP3S_PORT" empty STAT "LIST 1-0"
    [ "$rc" -eq 1 ] || fail "exit $rc (LIST 1-0 answers a text)"
    [ "$(printf '%s\n' "$out" | sed -n 1p)" = "0 0" ] || fail "STAT: $out"
    [ "$(printf '%s\n' "$out" | sed -n 3p)" = "No Message+OK 0 0" ] || fail "LIST: $out"
    ;;
japanese-60)
    check "$ALICE_PASSWORD" "localhost:$POP3_PORT" alice STAT "LIST 1-60"
    [ "$rc" -eq 0 ] || fail "exit $rc"
    diff <(printf '%s\n' "$out" | sed -n 3,62p) "$ALICE_EXPECTED" || fail "summaries differ"
    ;;
twelve-thousand)
    # More messages than the library once served (10,000), in one check.
    big_count=12000
    /usr/bin/python3 "$(dirname "$0")/make-big-mailbox.py" "$workdir" big big-Secret-3 "$big_count"
    check big-Secret-3 "pop3s://localhost:$POP3S_PORT" big STAT "LIST 1-$big_count" >/dev/null
    [ "$rc" -eq 0 ] || fail "exit $rc: $(head -c 300 <<<"$out")"
    [ "$(sed -n 1p <<<"$out" | cut -d' ' -f1)" = "$big_count" ] || fail "STAT: $(sed -n 1p <<<"$out")"
    diff <(sed -n "3,$((big_count + 2))p" <<<"$out") "$workdir/home/big.expected" >/dev/null ||
        fail "summaries differ"
    await_sessions_end big || fail "no login logged"
    [ "$(new_log | grep -c 'Login: user=<big>')" -eq 1 ] || fail "not one login"
    ;;
too-many)
    check "$ALICE_PASSWORD" "pop3s://localhost:$POP3S_PORT" alice "LIST 1-61"
    [ "$rc" -eq 1 ] || fail "exit $rc"
    grep -q "要求より少なく" <<<"$out" || fail "text: $out"
    ;;
*)
    fail "unknown case"
    ;;
esac
echo "ok: $case_name"
