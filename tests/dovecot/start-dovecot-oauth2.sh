#!/usr/bin/env bash
# Starts a private dovecot whose only logins are OAuth 2.0 (SASL OAUTHBEARER
# and XOAUTH2), for the token login tests. Its password database is
# dovecot's oauth2 driver with local validation: a bearer token is an HS256
# JSON Web Token signed with a key this script makes, and the user is its
# "sub" claim. No provider and no network beyond loopback are involved.
# Kept apart from start-dovecot.sh (its own instance, configuration and
# key), so that the two change independently.
#
# usage: tests/dovecot/start-dovecot-oauth2.sh WORKDIR
#        source WORKDIR/dovecot.env
#        popmail/tests/integration/mint-jwt.py "$OAUTH2_KEY_FILE" "$OAUTH2_USER" 3600
#        tests/dovecot/stop-dovecot.sh WORKDIR
#
# Runs as root or as an ordinary user, as start-dovecot.sh does; WORKDIR
# becomes a link to the server's own temporary folder (see dovecot-lib.sh).
# dovecot.env sets:
#   POP3_HOST        127.0.0.1
#   POP3_PORT        plain POP3 with STLS
#   POP3S_PORT       implicit TLS
#   POP3_NOTLS_HOST  127.0.0.2, where POP3_NOTLS_PORT offers no TLS at all
#   POP3_NOTLS_PORT
#   SSL_CERT_FILE    the test CA, exported (as POP3_CA_FILE)
#   OAUTH2_KEY_FILE  the HS256 key, in Base64 (what dovecot reads)
#   OAUTH2_USER      a user with OAUTH2_MESSAGES messages
#   OAUTH2_EXPECTED  the summaries those messages must give
#   DOVECOT_PID      the master process
# Failed logins are not delayed (auth_failure_delay = 0, and no growing
# penalty per address), so that refusals can be tested one after another.
set -euo pipefail

DOVECOT_HERE="$(cd "$(dirname "$0")" && pwd)"
DOVECOT_SCRIPT=start-dovecot-oauth2.sh
source "$DOVECOT_HERE/dovecot-lib.sh"
dovecot_find
dovecot_make_folder "${1:?usage: start-dovecot-oauth2.sh WORKDIR}"
dovecot_mail_owner
mkdir -p "$workdir/run" "$workdir/state" "$workdir/tls" "$workdir/keys/default/HS256"

# A test CA and a server certificate for localhost and 127.0.0.1.
dovecot_make_tls "Vantorel OAuth2 Test CA"

# The signing key: dovecot looks up an HS256 key for a token without "kid"
# as default/HS256/default under the dictionary's prefix, in Base64
# without a line end.
key_file="$workdir/keys/default/HS256/default"
head -c 32 /dev/urandom | base64 -w0 >"$key_file"
chmod 0600 "$key_file"

# One user's Maildir, two messages, LF line ends (dovecot serves CRLF).
user=carol
maildir="$workdir/home/$user/Maildir"
mkdir -p "$maildir/new" "$maildir/cur" "$maildir/tmp"
: >"$workdir/home/$user.expected"
dates=("Mon, 7 Dec 2026 09:00:00 +0900" "Tue, 8 Dec 2026 09:00:00 +0900")
for n in 1 2; do
    date="${dates[$((n - 1))]}"
    printf 'From: Sender %s <sender%s@example.jp>\nSubject: OAuth message %s\nDate: %s\n\nbody %s\n' \
        "$n" "$n" "$n" "$date" "$n" >"$maildir/new/100000000$n.M$n.test"
    printf 'Subject:OAuth message %s\tFrom:Sender %s <sender%s@example.jp>\tDate:%s\n' \
        "$n" "$n" "$n" "$date" >>"$workdir/home/$user.expected"
done
chown -R "$mail_user:$mail_group" "$workdir/home"

cat >"$workdir/oauth2.conf.ext" <<CONF
introspection_mode = local
local_validation_key_dict = fs:posix:prefix=$workdir/keys/
username_attribute = sub
CONF

write_config() {
    cat >"$workdir/dovecot.conf" <<CONF
base_dir = $workdir/run
state_dir = $workdir/state
instance_name = vantorel-oauth2-$pop3_port
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
auth_mechanisms = oauthbearer xoauth2
auth_verbose = yes
auth_failure_delay = 0
mail_location = maildir:~/Maildir
passdb {
  driver = oauth2
  mechanisms = oauthbearer xoauth2
  args = $workdir/oauth2.conf.ext
}
userdb {
  driver = static
  args = uid=$mail_user gid=$mail_group home=$workdir/home/%u
}
$(dovecot_user_settings)
$(dovecot_service_settings)
service anvil {
  chroot =
  # Without this socket the auth process keeps no penalty per address.
  unix_listener anvil-auth-penalty {
    mode = 0
  }
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
export OAUTH2_KEY_FILE=$key_file
export OAUTH2_USER=$user
export OAUTH2_MESSAGES=2
export OAUTH2_EXPECTED=$workdir/home/$user.expected
export DOVECOT_PID=$(cat "$workdir/run/master.pid")
ENV
echo "dovecot (OAuth 2.0) running: plain+STLS $pop3_port, TLS $pop3s_port," \
     "no TLS 127.0.0.2:$notls_port ($workdir)"
