#!/usr/bin/env bash
# One case of popcheck.exe (Winsock and Schannel) under Wine, against the
# private dovecot of the test fixture or an openssl s_server on loopback.
#
# usage: schannel-case.sh POPCHECK_EXE TRUST_CA_EXE DOVECOT_WORKDIR CASE
#
# Schannel trusts the Windows Root store, not SSL_CERT_FILE: each case first
# adds dovecot's test CA to the Root store of the Wine prefix (a prefix of
# this test run, thrown away afterwards). Verification stays on throughout.
# The dovecot cases are the Linux ones (popmail/tests/integration), run
# unchanged through wine-popcheck.sh; "oauth2-CASE" runs oauth2-case.sh's
# CASE against the OAuth 2.0 dovecot. The other cases serve certificates
# (unknown issuer, self-signed, another name or address, expired) and a TLS
# version Schannel must refuse, and check the reason given.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../../.." && pwd)"
if [ -z "${VANTOREL_WINE_SESSION:-}" ]; then
    exec "$root/tests/win/wine-session.sh" "$0" "$@"
fi

popcheck_exe="$1"
trust_ca_exe="$2"
workdir="$3"
case_name="$4"
wine_run="$root/tests/win/wine-run.sh"
python=/usr/bin/python3
[ -x "$python" ] || python="$(command -v python3)"
# shellcheck source=/dev/null
source "$workdir/dovecot.env"

fail() {
    echo "FAILED: $case_name: $*" >&2
    exit 1
}

"$wine_run" "$trust_ca_exe" "Z:$POP3_CA_FILE" || fail "cannot trust the test CA"

# ---- certificates Schannel must refuse -------------------------------------
scratch=""
server_pid=""
cleanup() {
    if [ -n "$server_pid" ]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    [ -z "$scratch" ] || rm -rf "$scratch"
}
trap cleanup EXIT

# The certificates are RSA: Wine (8.0) rejects an ECDSA signature whose r
# or s is shorter than 32 bytes, as about one P-256 signature in 128 is,
# with "certificate signature failure", and these are checked under Wine.
new_key() { openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$1" 2>/dev/null; }

# certificate NAME ALT_NAMES [CA_PEM CA_KEY [DAYS]]: NAME.pem and NAME.key
# in $scratch, signed by the CA, or self-signed without one. DAYS -1 gives
# a certificate that has just expired.
certificate() {
    local name="$1" alt="$2" ca="${3:-}" ca_key="${4:-}" days="${5:-2}"
    new_key "$scratch/$name.key"
    if [ -z "$ca" ]; then
        openssl req -x509 -new -key "$scratch/$name.key" -subj "/CN=$name" -days 2 \
            -addext "subjectAltName=$alt" -out "$scratch/$name.pem" 2>/dev/null
        return
    fi
    openssl req -new -key "$scratch/$name.key" -subj "/CN=$name" -out "$scratch/$name.csr" 2>/dev/null
    printf 'subjectAltName=%s\nextendedKeyUsage=serverAuth\n' "$alt" >"$scratch/$name.ext"
    openssl x509 -req -in "$scratch/$name.csr" -CA "$ca" -CAkey "$ca_key" \
        -CAserial "$scratch/$name.srl" -CAcreateserial \
        -days "$days" -extfile "$scratch/$name.ext" -out "$scratch/$name.pem" 2>/dev/null
}

# listening_port PID: the loopback port that PID (or a process it started)
# listens on, from the kernel's table of sockets, once it listens (5 s at
# most); fails when the process ends first.
listening_port() {
    "$python" - "$1" <<'PY'
import os, sys, time

def family(pid):
    """The process and its descendants (timeout runs s_server as a child)."""
    pids, i = [pid], 0
    while i < len(pids):
        try:
            for task in os.listdir("/proc/%s/task" % pids[i]):
                with open("/proc/%s/task/%s/children" % (pids[i], task)) as f:
                    pids += f.read().split()
        except OSError:
            pass
        i += 1
    return pids

def listening_port(pid):
    inodes = set()
    for p in family(pid):
        try:
            for fd in os.listdir("/proc/%s/fd" % p):
                link = os.readlink("/proc/%s/fd/%s" % (p, fd))
                if link.startswith("socket:["):
                    inodes.add(link[8:-1])
        except OSError:
            pass
    with open("/proc/net/tcp") as table:
        for line in list(table)[1:]:
            fields = line.split()
            if fields[3] == "0A" and fields[9] in inodes:  # LISTEN
                return int(fields[1].split(":")[1], 16)
    return None

pid = sys.argv[1]
deadline = time.monotonic() + 5
while time.monotonic() < deadline and os.path.exists("/proc/%s" % pid):
    port = listening_port(pid)
    if port:
        print(port)
        sys.exit(0)
    time.sleep(0.05)
sys.exit(1)
PY
}

# serve NAME [S_SERVER_OPTIONS...]: TLS with NAME.pem on loopback; sets
# $port. s_server binds a port of the system's choice, so no other program
# can hold the port meanwhile.
serve() {
    local name="$1"
    shift
    timeout 100 openssl s_server -accept 127.0.0.1:0 -cert "$scratch/$name.pem" \
        -key "$scratch/$name.key" -quiet "$@" </dev/null >"$scratch/s_server.out" 2>&1 &
    server_pid=$!
    port=$(listening_port "$server_pid") || fail "s_server did not start: $(cat "$scratch/s_server.out")"
}

# popcheck.exe against HOST:$port must fail with CAUSE and REASON.
expect_refused() {
    local host="$1" cause="$2" reason="$3" out rc
    set +e
    out="$(printf 'never-sent\n' | "$wine_run" "$popcheck_exe" "pop3s://$host:$port" alice STAT)"
    rc=$?
    set -e
    printf '%s\n' "$out"
    [ "$rc" -eq 1 ] || fail "exit $rc"
    grep -qF "$cause" <<<"$out" || fail "cause: $out"
    grep -qF "。詳細: $reason" <<<"$out" || fail "reason: $out"
}

readonly untrusted="サーバー証明書を信頼できない"
readonly misnamed="サーバー証明書の名前がサーバー名と一致しないため"
readonly no_tls="暗号化通信（TLS）を開始できないため"
readonly expired="サーバー証明書の有効期限が切れているか"

case "$case_name" in
unknown-issuer | self-signed | wrong-name | wrong-address | expired | old-tls)
    scratch="$(mktemp -d)"
    ;;
oauth2-*)
    # Token logins against the OAuth 2.0 dovecot (tests/dovecot/start-dovecot-oauth2.sh).
    export POPMAIL_POPCHECK_EXE="$popcheck_exe"
    exec "$root/popmail/tests/integration/oauth2-case.sh" "$here/wine-popcheck.sh" \
        "$workdir" "${case_name#oauth2-}"
    ;;
*)
    export POPMAIL_POPCHECK_EXE="$popcheck_exe"
    exec "$root/popmail/tests/integration/dovecot-case.sh" "$here/wine-popcheck.sh" \
        "$workdir" "$case_name"
    ;;
esac

case "$case_name" in
unknown-issuer)
    # Signed by a CA that is in no store.
    new_key "$scratch/stranger-ca.key"
    openssl req -x509 -new -key "$scratch/stranger-ca.key" -subj "/CN=Unknown Test CA" -days 2 \
        -out "$scratch/stranger-ca.pem" 2>/dev/null
    certificate server "DNS:localhost,IP:127.0.0.1" "$scratch/stranger-ca.pem" "$scratch/stranger-ca.key"
    serve server
    expect_refused localhost "$untrusted" "unable to get local issuer certificate"
    ;;
self-signed)
    certificate server "DNS:localhost,IP:127.0.0.1"
    serve server
    expect_refused localhost "$untrusted" "self-signed certificate"
    ;;
wrong-name | wrong-address)
    # Signed by the trusted test CA, but for another server.
    certificate other "DNS:other.example,IP:192.0.2.1" "$workdir/tls/ca.pem" "$workdir/tls/ca.key"
    serve other
    if [ "$case_name" = wrong-name ]; then
        expect_refused localhost "$misnamed" "hostname mismatch"
    else
        expect_refused 127.0.0.1 "$misnamed" "IP address mismatch"
    fi
    ;;
expired)
    # Signed by the trusted test CA, for this server, but out of date.
    certificate server "DNS:localhost,IP:127.0.0.1" "$workdir/tls/ca.pem" "$workdir/tls/ca.key" -1
    serve server
    expect_refused localhost "$expired" "certificate has expired"
    ;;
old-tls)
    # A trusted certificate, but TLS 1.1 only.
    certificate server "DNS:localhost,IP:127.0.0.1" "$workdir/tls/ca.pem" "$workdir/tls/ca.key"
    serve server -tls1_1 -cipher DEFAULT@SECLEVEL=0
    expect_refused localhost "$no_tls" "unsupported protocol"
    ;;
esac
echo "ok: $case_name"
