#!/usr/bin/env bash
# Starts a private dovecot POP3 server on free loopback ports, for tests and
# benchmarks. Installs nothing: dovecot-core and dovecot-pop3d come from
# tests/scripts/packages-popmail.txt (tests/scripts/install-deps.sh).
#
# usage: tests/dovecot/start-dovecot.sh WORKDIR
#        source WORKDIR/dovecot.env
#        ... talk to it ...
#        tests/dovecot/stop-dovecot.sh WORKDIR
#
# Runs as root (the mail processes then run as nobody) or as an ordinary
# user (every process runs as that user). WORKDIR becomes a link to the
# server's own temporary folder (see dovecot-lib.sh), which holds
# everything: configuration, certificates, users, Maildirs, logs, the pid
# file. Mail a caller adds must belong to the owner of WORKDIR/home
# (chown -R --reference). dovecot.env sets:
#   POP3_HOST        127.0.0.1
#   POP3_PORT        plain POP3 with STLS
#   POP3S_PORT       implicit TLS (RFC 8314)
#   POP3_NOTLS_HOST  127.0.0.2, where POP3_NOTLS_PORT offers no TLS at all
#   POP3_NOTLS_PORT  (the greeting carries an APOP time stamp)
#   SSL_CERT_FILE    the test CA, exported: OpenSSL, curl and Python trust it
#   POP3_CA_FILE     the same file
#   ALICE_USER / ALICE_PASSWORD   60 messages, see make-mailboxes.py
#   ALICE_EXPECTED   the 60 summaries those messages must give
#   EMPTY_USER / EMPTY_PASSWORD   an empty mailbox
#   DOVECOT_PID      the master process
# The certificate names localhost and 127.0.0.1.
set -euo pipefail

DOVECOT_HERE="$(cd "$(dirname "$0")" && pwd)"
DOVECOT_SCRIPT=start-dovecot.sh
source "$DOVECOT_HERE/dovecot-lib.sh"
dovecot_find
dovecot_make_folder "${1:?usage: start-dovecot.sh WORKDIR}"
dovecot_mail_owner
mkdir -p "$workdir/run" "$workdir/state" "$workdir/home" "$workdir/tls"

# A test CA and a server certificate for localhost and 127.0.0.1.
dovecot_make_tls "Vantorel Test CA"

# Users with {PLAIN} passwords, so that APOP works.
alice_password='alice-Secret-1'
empty_password='empty-Secret-2'
cat >"$workdir/passwd" <<PASSWD
alice:{PLAIN}$alice_password::::::
empty:{PLAIN}$empty_password::::::
PASSWD
"$python" "$DOVECOT_HERE/make-mailboxes.py" "$workdir/home"
chown -R "$mail_user:$mail_group" "$workdir/home"

write_config() {
    cat >"$workdir/dovecot.conf" <<CONF
base_dir = $workdir/run
state_dir = $workdir/state
instance_name = vantorel-test-$pop3_port
log_path = $workdir/dovecot.log
info_log_path = $workdir/dovecot.log
protocols = pop3
listen = 127.0.0.1, 127.0.0.2
ssl = yes
ssl_cert = <$tls/server.pem
ssl_key = <$tls/server.key
ssl_dh = <$tls/dh.pem
ssl_min_protocol = TLSv1.2
disable_plaintext_auth = no
auth_mechanisms = plain login apop cram-md5
mail_location = maildir:~/Maildir
passdb {
  driver = passwd-file
  args = scheme=PLAIN $workdir/passwd
}
userdb {
  driver = passwd-file
  args = $workdir/passwd
  default_fields = uid=$mail_user gid=$mail_group home=$workdir/home/%u
}
$(dovecot_user_settings)
$(dovecot_service_settings)
service anvil {
  chroot =
}
local 127.0.0.2 {
  ssl = no
}
CONF
}
dovecot_start write_config

cat >"$workdir/dovecot.env" <<ENV
export POP3_HOST=127.0.0.1
export POP3_PORT=$pop3_port
export POP3S_PORT=$pop3s_port
export POP3_NOTLS_HOST=127.0.0.2
export POP3_NOTLS_PORT=$notls_port
export SSL_CERT_FILE=$tls/ca.pem
export POP3_CA_FILE=$tls/ca.pem
export ALICE_USER=alice
export ALICE_PASSWORD=$alice_password
export ALICE_EXPECTED=$workdir/home/alice.expected
export EMPTY_USER=empty
export EMPTY_PASSWORD=$empty_password
export DOVECOT_PID=$(cat "$workdir/run/master.pid")
ENV
echo "dovecot running: plain+STLS $pop3_port, TLS $pop3s_port, no TLS 127.0.0.2:$notls_port ($workdir)"
