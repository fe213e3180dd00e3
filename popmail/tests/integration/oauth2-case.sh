#!/usr/bin/env bash
# One case of popcheck --oauth2 against the private OAuth 2.0 dovecot of
# the test fixture (tests/dovecot/start-dovecot-oauth2.sh), with tokens
# minted here: valid, expired, or signed with a key dovecot does not know.
# usage: oauth2-case.sh POPCHECK DOVECOT_WORKDIR CASE
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
popcheck="$1"
workdir="$2"
case_name="$3"
# shellcheck source=/dev/null
source "$workdir/dovecot.env"
python=/usr/bin/python3
[ -x "$python" ] || python="$(command -v python3)"

readonly lifetime=3600
readonly expired=-600
readonly invalid_text="アクセストークンが無効か、有効期限が切れているため"

fail() {
    echo "FAILED: $case_name: $*" >&2
    exit 1
}

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

mint() { "$python" "$here/mint-jwt.py" "$1" "$OAUTH2_USER" "$2"; }

# popcheck --oauth2 with the token on standard input; what it printed, on
# either stream, in $out, its status in $rc.
check() {
    local token="$1"
    shift
    set +e
    out="$(printf '%s\n' "$token" | "$popcheck" --oauth2 "$@" 2>&1)"
    rc=$?
    set -e
    printf '%s\n' "$out"
}

# The token must not show in any form: whole, its claims or its signature,
# or their Base64 inside the SASL message.
expect_no_token() {
    local token="$1" part
    for part in "$token" "$(cut -d. -f2 <<<"$token")" "$(cut -d. -f3 <<<"$token")" \
                "$(printf 'auth=Bearer %s' "$token" | base64 -w0 | cut -c5-40)"; do
        if grep -qF -- "$part" <<<"$out"; then fail "token shown: $out"; fi
    done
}

# shellcheck source=case-log.sh
source "$(dirname "$0")/case-log.sh"

# expect_refused TOKEN HOST REASON: the login fails, says why, and
# dovecot's log has REASON.
expect_refused() {
    local token="$1" host="$2" reason="$3"
    check "$token" "$host" "$OAUTH2_USER" STAT
    [ "$rc" -eq 1 ] || fail "exit $rc"
    grep -qF "$invalid_text" <<<"$out" || fail "text: $out"
    grep -qF "サーバーの応答: invalid_token" <<<"$out" || fail "no status: $out"
    expect_no_token "$token"
    await_log -F "$reason" || fail "dovecot did not log: $reason"
}

implicit="pop3s://localhost:$POP3S_PORT"
stls="localhost:$POP3_PORT"
case "$case_name" in
valid-implicit-tls | valid-stls)
    host="$implicit"
    [ "$case_name" = valid-stls ] && host="$stls"
    token="$(mint "$OAUTH2_KEY_FILE" "$lifetime")"
    check "$token" "$host" "$OAUTH2_USER" STAT "LIST 1-$OAUTH2_MESSAGES"
    [ "$rc" -eq 0 ] || fail "exit $rc"
    [ "$(head -1 <<<"$out" | cut -d' ' -f1)" = "$OAUTH2_MESSAGES" ] || fail "STAT: $out"
    diff <(sed -n "3,$((2 + OAUTH2_MESSAGES))p" <<<"$out") "$OAUTH2_EXPECTED" || fail "LIST"
    # OAUTHBEARER preferred; STAT and LIST shared one login.
    await_sessions_end "$OAUTH2_USER" || fail "no login logged"
    [ "$(new_log | grep -c "Login: user=<$OAUTH2_USER>, method=OAUTHBEARER")" -eq 1 ] ||
        fail "not one OAUTHBEARER login"
    expect_no_token "$token"
    ;;
expired-implicit-tls | expired-stls)
    host="$implicit"
    [ "$case_name" = expired-stls ] && host="$stls"
    expect_refused "$(mint "$OAUTH2_KEY_FILE" "$expired")" "$host" "Token has expired"
    ;;
other-key-implicit-tls | other-key-stls)
    host="$implicit"
    [ "$case_name" = other-key-stls ] && host="$stls"
    head -c 32 /dev/urandom | base64 -w0 >"$scratch/other.key"
    expect_refused "$(mint "$scratch/other.key" "$lifetime")" "$host" "Incorrect JWT signature"
    ;;
no-tls-refused)
    # pop3:// allows an unencrypted password, but a token is never sent so.
    token="$(mint "$OAUTH2_KEY_FILE" "$lifetime")"
    check "$token" "pop3://$POP3_NOTLS_HOST:$POP3_NOTLS_PORT" "$OAUTH2_USER" STAT
    [ "$rc" -eq 1 ] || fail "exit $rc"
    grep -qF "暗号化した接続でだけ送るため" <<<"$out" || fail "text: $out"
    await_login_refused || fail "the connection's end was not logged"
    if new_log | grep -qE "oauth2|user=<$OAUTH2_USER>"; then fail "a login was attempted"; fi
    ;;
*)
    fail "unknown case"
    ;;
esac
echo "ok: $case_name"
