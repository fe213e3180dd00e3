# Shared by start-dovecot.sh and start-dovecot-oauth2.sh (sourced).
#
# The server's files live in a temporary folder of their own that every
# user may traverse (mode 0711), because dovecot's mail processes must
# reach the Maildirs: as root they run as nobody, who cannot enter a
# checkout under a 0700 or 0750 folder. WORKDIR, where the caller asked for
# the server, becomes a symbolic link to that folder, so the caller's paths
# (WORKDIR/dovecot.env, WORKDIR/home/USER/Maildir, WORKDIR/dovecot.log)
# stay as they were. stop-dovecot.sh removes the folder and leaves the log
# in WORKDIR.
#
# Run as root, the mail processes run as nobody; run by an ordinary user,
# every dovecot process runs as that user (no chown, no chroot).

DOVECOT_LISTENERS=3
# A port the chosen number refers to may be taken by another program
# between the choice and dovecot's bind: a few fresh choices, each printed.
DOVECOT_BIND_ATTEMPTS=5

dovecot_find() {
    dovecot_bin="$(command -v dovecot || true)"
    [ -n "$dovecot_bin" ] || dovecot_bin=/usr/sbin/dovecot
    if [ ! -x "$dovecot_bin" ] || [ ! -e /usr/lib/dovecot/pop3 ]; then
        echo "$DOVECOT_SCRIPT: dovecot with POP3 is not installed;" \
             "run tests/scripts/install-deps.sh (packages dovecot-core, dovecot-pop3d)" >&2
        exit 1
    fi
    # Debian's python3 (tests/scripts/packages-popmail.txt); a version
    # manager's shim on PATH may take seconds to start.
    python=/usr/bin/python3
    [ -x "$python" ] || python="$(command -v python3)"
}

# dovecot_make_folder WORKDIR: stops a server left in WORKDIR, makes the
# server's own folder and links WORKDIR to it; sets workdir to its path.
dovecot_make_folder() {
    local requested=$1 parent
    # A server left there (a run that ended before its stop) goes first,
    # with its folder.
    if [ -L "$requested" ] || [ -f "$requested/run/master.pid" ]; then
        "$DOVECOT_HERE/stop-dovecot.sh" "$requested" || true
    fi
    rm -rf "$requested"
    mkdir -p "$(dirname "$requested")"
    # As root the mail processes are nobody's: a folder in /tmp is theirs
    # to traverse whatever TMPDIR says.
    parent=/tmp
    [ "$(id -u)" -eq 0 ] || parent="${TMPDIR:-/tmp}"
    workdir=$(mktemp -d "$parent/vantorel-dovecot.XXXXXX")
    chmod 0711 "$workdir"
    ln -s "$workdir" "$requested"
    dovecot_requested=$requested
}

# dovecot_make_tls CA_NAME: in $workdir/tls, a test CA named CA_NAME and
# the server's folder (ca.pem, ca.key), a certificate for localhost and
# 127.0.0.1 signed by it (server.pem, server.key) and DH parameters; sets
# tls. The CA's name is the server's own: Windows finds a certificate's
# issuer by name, and one Wine prefix holds the CAs of every server a test
# run starts, so CAs of one name could be mistaken for each other. The
# certificates are RSA: Wine (8.0) rejects an ECDSA signature whose r or s
# is shorter than 32 bytes, as about one P-256 signature in 128 is, with
# "certificate signature failure", and the Windows tests check these
# certificates under Wine.
dovecot_make_tls() {
    tls="$workdir/tls"
    mkdir -p "$tls"
    openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=$1 $(basename "$workdir")" \
        -keyout "$tls/ca.key" -out "$tls/ca.pem" 2>/dev/null
    openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" \
        -keyout "$tls/server.key" -out "$tls/server.csr" 2>/dev/null
    printf 'subjectAltName=DNS:localhost,IP:127.0.0.1\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' \
        >"$tls/server.ext"
    openssl x509 -req -in "$tls/server.csr" -CA "$tls/ca.pem" -CAkey "$tls/ca.key" \
        -CAcreateserial -days 30 -extfile "$tls/server.ext" -out "$tls/server.pem" 2>/dev/null
    openssl genpkey -genparam -algorithm DH -pkeyopt group:ffdhe2048 -out "$tls/dh.pem" 2>/dev/null
    chmod 0644 "$tls"/*
}

# The owner of the Maildirs and the users dovecot's processes run as.
dovecot_mail_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        mail_user=nobody
        mail_group=$(id -gn nobody)
    else
        mail_user=$(id -un)
        mail_group=$(id -gn)
    fi
}

# Settings that depend on who runs the server.
dovecot_user_settings() {
    if [ "$(id -u)" -eq 0 ]; then
        cat <<CONF
service auth {
  user = root
}
CONF
    else
        # Without root no process can change its user or chroot.
        cat <<CONF
default_login_user = $mail_user
default_internal_user = $mail_user
default_internal_group = $mail_group
service auth {
  user = $mail_user
}
service pop3-login {
  chroot =
}
CONF
    fi
}

# The listeners both test servers have (STLS on $pop3_port and implicit
# TLS on $pop3s_port at 127.0.0.1, no TLS at all on $notls_port at
# 127.0.0.2) and their processes, kept running between the cases.
dovecot_service_settings() {
    cat <<CONF
service pop3-login {
  inet_listener pop3 {
    address = 127.0.0.1
    port = $pop3_port
  }
  inet_listener pop3s {
    address = 127.0.0.1
    port = $pop3s_port
    ssl = yes
  }
  inet_listener pop3-notls {
    address = 127.0.0.2
    port = $notls_port
  }
  service_count = 0
  process_min_avail = 1
}
service pop3 {
  service_count = 100
  process_min_avail = 1
  process_limit = 20
}
CONF
}

# Three distinct loopback ports, free at the moment of asking. The test of
# the retry below names the first three to try in DOVECOT_FIRST_PORTS.
dovecot_pick_ports() {
    if [ -n "${DOVECOT_FIRST_PORTS:-}" ]; then
        read -r pop3_port pop3s_port notls_port <<<"$DOVECOT_FIRST_PORTS"
        DOVECOT_FIRST_PORTS=""
        return 0
    fi
    read -r pop3_port pop3s_port notls_port < <("$python" - "$DOVECOT_LISTENERS" <<'PY'
import socket, sys
sockets = [socket.socket() for _ in range(int(sys.argv[1]))]
for s in sockets:
    s.bind(("127.0.0.1", 0))
print(" ".join(str(s.getsockname()[1]) for s in sockets))
PY
)
}

# dovecot_launch WRITE_CONFIG: picks ports, lets WRITE_CONFIG write
# $workdir/dovecot.conf for them and starts dovecot, which binds its
# listeners before it goes into the background. When a port was taken in
# the meantime it says so and tries fresh ports.
dovecot_launch() {
    local write_config=$1 attempt status
    for ((attempt = 1; attempt <= DOVECOT_BIND_ATTEMPTS; attempt++)); do
        dovecot_pick_ports
        "$write_config"
        : >"$workdir/start.log"
        status=0
        # dovecot must not hold the caller's output open (ctest would wait
        # for it until it stops).
        "$dovecot_bin" -c "$workdir/dovecot.conf" </dev/null >"$workdir/start.log" 2>&1 || status=$?
        cat "$workdir/start.log" >>"$workdir/dovecot.log"
        [ "$status" -ne 0 ] || return 0
        if ! grep -qs "Address already in use" "$workdir/start.log" "$workdir/dovecot.log"; then
            return 1
        fi
        echo "$DOVECOT_SCRIPT: dovecot-bind retry: a port of $pop3_port $pop3s_port $notls_port" \
             "was taken (attempt $attempt)" >&2
        : >"$workdir/dovecot.log"
    done
    return 1
}

# dovecot_wait_ready: all three listeners greet (5 s at most).
dovecot_wait_ready() {
    "$python" - "$pop3_port" "$pop3s_port" "$notls_port" <<'PY'
import socket, ssl, sys, time
def greets(host, port, tls=False):
    try:
        with socket.create_connection((host, port), timeout=1) as s:
            if tls:
                ctx = ssl.create_default_context(); ctx.check_hostname = False
                ctx.verify_mode = ssl.CERT_NONE
                s = ctx.wrap_socket(s)
            return s.recv(100).startswith(b"+OK")
    except OSError:
        return False
p, ps, pn = map(int, sys.argv[1:])
deadline = time.monotonic() + 5
while time.monotonic() < deadline:
    if greets("127.0.0.1", p) and greets("127.0.0.1", ps, True) and greets("127.0.0.2", pn):
        sys.exit(0)
    time.sleep(0.05)
sys.exit(1)
PY
}

# dovecot_start WRITE_CONFIG: launches and waits; on failure shows the log,
# stops what runs and fails the script.
dovecot_start() {
    if dovecot_launch "$1" && dovecot_wait_ready; then
        return 0
    fi
    echo "$DOVECOT_SCRIPT: dovecot did not come up; log follows" >&2
    cat "$workdir/dovecot.log" >&2 || true
    "$DOVECOT_HERE/stop-dovecot.sh" "$dovecot_requested" || true
    exit 1
}
