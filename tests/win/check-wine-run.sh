#!/usr/bin/env bash
# wine-run.sh starts a program again only when Wine did not start it, and
# says so: checked with a stand-in for wine that follows a script of
# outcomes, one per start.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d "${TMPDIR:-/tmp}/vantorel-wine-run-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/session"

# The stand-in: each start takes the next line of $work/outcomes.
cat >"$work/bin/wine" <<'WINE'
#!/usr/bin/env bash
n=$(($(cat "$FAKE_WINE_DIR/starts" 2>/dev/null || echo 0) + 1))
echo "$n" >"$FAKE_WINE_DIR/starts"
case "$(sed -n "${n}p" "$FAKE_WINE_DIR/outcomes")" in
    no-start) echo "wine: could not load kernel32.dll, status c0000135" >&2; exit 53 ;;
    pass) read -r line; echo "ran with input $line"; exit 0 ;;
    fail) echo "[  FAILED  ] a test" ; exit 1 ;;
    crash) echo "wine: Unhandled page fault on read access to 0000000000000000" >&2; exit 5 ;;
    quiet-fail) echo "popcheck: wrong password" >&2; exit 2 ;;
    silent) exit 1 ;;
esac
WINE
chmod +x "$work/bin/wine"

failures=0
# expect OUTCOMES STATUS STARTS RETRIES: runs wine-run.sh once.
expect() {
    local outcomes=$1 want_status=$2 want_starts=$3 want_retries=$4 status=0 retries
    tr ' ' '\n' <<<"$outcomes" >"$work/outcomes"
    rm -f "$work/starts" "$work/session/wine-start-retries"
    echo "the-input" | PATH="$work/bin:$PATH" FAKE_WINE_DIR="$work" \
        VANTOREL_WINE_SESSION="$work/session" "$here/wine-run.sh" program.exe \
        >"$work/out" 2>"$work/err" || status=$?
    retries=0
    [ ! -f "$work/session/wine-start-retries" ] || retries=$(wc -l <"$work/session/wine-start-retries")
    if [ "$status" != "$want_status" ] || [ "$(cat "$work/starts")" != "$want_starts" ] ||
        [ "$retries" != "$want_retries" ] ||
        [ "$(grep -c '^wine-start retry: program.exe' "$work/err")" != "$want_retries" ]; then
        echo "FAIL: outcomes '$outcomes': status $status, $(cat "$work/starts") starts," \
             "$retries retries; stderr:" >&2
        sed 's/^/  /' "$work/err" >&2
        failures=$((failures + 1))
    fi
}

expect "pass" 0 1 0
expect "no-start pass" 0 2 1
grep -qx "ran with input the-input" "$work/out" || {
    echo "FAIL: the program started again did not get its input" >&2
    failures=$((failures + 1))
}
expect "no-start no-start no-start pass" 53 3 2
expect "fail pass" 1 1 0
expect "crash pass" 5 1 0
expect "quiet-fail pass" 2 1 0
expect "silent pass" 0 2 1
expect "silent silent silent pass" 1 3 2
[ "$failures" -eq 0 ] || exit 1
echo "wine-run.sh: every case as expected"
