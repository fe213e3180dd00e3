#!/usr/bin/env bash
# Runs one Windows program under Wine, with a time limit: CTest's emulator
# for the cross build. Inside a session of wine-session.sh it uses that
# session's prefix; alone it starts a session of its own for this one run.
#
#   tests/win/wine-run.sh build-win64/vantorel_tests.exe --gtest_brief=1
set -euo pipefail

if [ -z "${VANTOREL_WINE_SESSION:-}" ]; then
    exec "$(dirname "$0")/wine-session.sh" "$0" "$@"
fi

exec timeout --kill-after=5 "${VANTOREL_WINE_TIMEOUT:-120}" wine "$@"
