#!/usr/bin/env bash
# The Windows program end to end under Wine, as a user meets it: a private
# dovecot on loopback with three Japanese messages, its test CA trusted in
# the Wine prefix's Root store (verification stays on), and for each
# scenario a fresh folder holding vantorel.exe and popmail.dll, driven by
# vantorel_e2e_driver.exe:
#   first-run       typing the settings and OK writes a CP932 settings file
#   announce        the arrival notice, each message's notice with its
#                   decoded subject, the summary, the restored title, then
#                   一時停止 and 終了(&X) from the tray menu
#   wrong-password  the server's failure text, then the error box
#   tray-states     the tray icon normal, with new mail (and the balloon
#                   listing the messages, its text read from Wine's tray),
#                   paused, and after a failed check with errors hidden
#   token-announce  the same announcement from a dovecot that takes only
#                   OAuth 2.0 access tokens: the settings name a token
#                   command (cmd's type of a token minted for the run) and
#                   no password
# OUT_DIR receives transcript.txt and a PNG screenshot of every stage.
# E2E_SCENARIOS may name fewer scenarios, for a quicker run.
#
# usage: run-e2e.sh VANTOREL_EXE POPMAIL_DLL TRUST_CA_EXE DRIVER_EXE TARGET_EXE OUT_DIR
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../../.." && pwd)"
if [ -z "${VANTOREL_WINE_SESSION:-}" ]; then
    exec "$root/tests/win/wine-session.sh" "$0" "$@"
fi
[ $# -eq 6 ] || { echo "usage: $0 VANTOREL_EXE POPMAIL_DLL TRUST_CA_EXE DRIVER_EXE TARGET_EXE OUT_DIR" >&2; exit 2; }
vantorel_exe="$1" popmail_dll="$2" trust_ca_exe="$3" driver_exe="$4" target_exe="$5" out="$6"
wine_run="$root/tests/win/wine-run.sh"
python=/usr/bin/python3
[ -x "$python" ] || python="$(command -v python3)"
readonly scenario_timeout=240

work=$(mktemp -d "${TMPDIR:-/tmp}/vantorel-win-e2e.XXXXXX")
cleanup() {
    "$root/tests/dovecot/stop-dovecot.sh" "$work/dovecot" >/dev/null 2>&1 || true
    "$root/tests/dovecot/stop-dovecot.sh" "$work/dovecot-oauth2" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

# Windows sees the Linux file system as drive Z:.
windows_path() { local path="$1"; printf 'Z:%s' "${path//\//\\}"; }

rm -rf "$out"
mkdir -p "$out"

echo "== a private dovecot with three Japanese messages"
"$root/tests/dovecot/start-dovecot.sh" "$work/dovecot"
# shellcheck source=/dev/null
source "$work/dovecot/dovecot.env"
maildir="$work/dovecot/home/$ALICE_USER/Maildir"
rm -rf "$maildir"
"$python" "$root/tests/e2e/linux/lib/sample-mail.py" "$maildir" 3 >"$out/subjects.txt"
chown -R --reference="$work/dovecot/home" "$work/dovecot/home"
"$wine_run" "$trust_ca_exe" "Z:$POP3_CA_FILE"

export E2E_OUT_DIR="$(windows_path "$out")"
export E2E_TARGET_EXE="$(windows_path "$target_exe")"
export E2E_SUBJECTS="$(windows_path "$out/subjects.txt")"
export E2E_HOST="$POP3_HOST:$POP3_PORT" E2E_USER="$ALICE_USER" E2E_PASSWORD="$ALICE_PASSWORD"

# The settings a user who accepted them has: CP932 with CRLF line ends;
# further SECTION KEY=VALUE arguments add to them.
write_accepted_settings() {
    printf '%s\n' "$E2E_PASSWORD" |
        "$python" "$root/tests/scripts/settings_file.py" "$1" --accepted --password-stdin \
            USERINFO "REMOTEHOST=$E2E_HOST" "USERNAME=$E2E_USER" INTERVAL=30 TIMER=2 "${@:2}"
}

# token_settings FILE: a dovecot of its own that validates signed tokens,
# its user's mailbox holding the same three messages, its CA trusted, and
# settings whose token command prints a token minted for it.
token_settings() {
    local oauth2="$work/dovecot-oauth2"
    "$root/tests/dovecot/start-dovecot-oauth2.sh" "$oauth2" >/dev/null
    (
        # shellcheck source=/dev/null
        source "$oauth2/dovecot.env"
        local maildir="$oauth2/home/$OAUTH2_USER/Maildir"
        rm -rf "$maildir"
        "$python" "$root/tests/e2e/linux/lib/sample-mail.py" "$maildir" 3 >/dev/null
        chown -R --reference="$oauth2/home" "$oauth2/home"
        "$wine_run" "$trust_ca_exe" "Z:$POP3_CA_FILE"
        "$python" "$root/popmail/tests/integration/mint-jwt.py" "$OAUTH2_KEY_FILE" \
            "$OAUTH2_USER" 3600 >"$work/token.txt"
        "$python" "$root/tests/scripts/settings_file.py" "$1" --accepted \
            USERINFO "REMOTEHOST=pop3s://$POP3_HOST:$POP3S_PORT" "USERNAME=$OAUTH2_USER" \
            "TOKENCMD=type $(windows_path "$work/token.txt")" INTERVAL=30 TIMER=2
    )
}

status=0
for scenario in ${E2E_SCENARIOS:-first-run announce wrong-password token-announce tray-states}; do
    echo "== $scenario"
    program_dir="$work/program-$scenario"
    mkdir -p "$program_dir"
    cp "$vantorel_exe" "$popmail_dll" "$program_dir/"
    if [ "$scenario" = announce ]; then
        write_accepted_settings "$program_dir/vantorel.ini"
    elif [ "$scenario" = tray-states ]; then
        write_accepted_settings "$program_dir/vantorel.ini" OPTION NOTIFY=True IGNOREERR=False
    elif [ "$scenario" = token-announce ]; then
        token_settings "$program_dir/vantorel.ini"
    fi
    E2E_PROGRAM_DIR="$(windows_path "$program_dir")" VANTOREL_WINE_TIMEOUT="$scenario_timeout" \
        "$wine_run" "$driver_exe" "$scenario" || status=1
done

# The driver's screenshots are BMP; PNG is what viewers expect.
"$python" - "$out" <<'PY'
import glob, os, struct, sys, zlib
for bmp in glob.glob(os.path.join(sys.argv[1], "*.bmp")):
    data = open(bmp, "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up BGR rows
        row = data[offset + y * stride: offset + y * stride + width * 3]
        rgb = bytearray(row)
        rgb[0::3], rgb[2::3] = row[2::3], row[0::3]
        rows.append(b"\0" + bytes(rgb))
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b"")
    open(bmp[:-4] + ".png", "wb").write(png)
    os.remove(bmp)
PY
echo "transcript and screenshots: $out"
exit "$status"
