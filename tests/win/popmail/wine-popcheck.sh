#!/usr/bin/env bash
# popcheck.exe under Wine with popcheck's own command line, so that the
# Linux integration cases (popmail/tests/integration/dovecot-case.sh) run
# unchanged against the Windows build. POPMAIL_POPCHECK_EXE names the exe.
set -euo pipefail
exec "$(dirname "$0")/../wine-run.sh" "${POPMAIL_POPCHECK_EXE:?}" "$@"
