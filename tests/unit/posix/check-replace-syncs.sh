#!/usr/bin/env bash
# A replacement of the settings file reaches the disk in this order: the
# new file's content, the folder's entry for it, the rename over the old
# file, the folder again. Traced with strace around the file store's own
# test of a replacement.
#
# usage: check-replace-syncs.sh VANTOREL_TESTS
set -euo pipefail
tests=${1:?usage: check-replace-syncs.sh VANTOREL_TESTS}
skip=77

log=$(mktemp "${TMPDIR:-/tmp}/vantorel-syncs.XXXXXX")
trap 'rm -f "$log"' EXIT
if ! strace -o /dev/null true 2>/dev/null; then
    echo "SKIP: strace cannot trace a process here"
    exit "$skip"
fi
# LeakSanitizer cannot run under a tracer; the sanitizer build checks leaks
# in every other test.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
strace -f -qq -y -e trace=fsync,fdatasync,rename,renameat,renameat2 -o "$log" \
    "$tests" --gtest_filter=PosixFileStoreTest.TheNewFileIsPrivateFromItsCreationWhateverTheUmask \
    >/dev/null

# F: the temporary file synced, D: its folder synced, R: the rename.
order=$(grep 'vantorel-store-' "$log" | awk '
    /rename/ && /\.tmp-/ { printf "R"; next }
    /sync\(/ && /\.tmp-/ { printf "F"; next }
    /sync\(/ && !/vantorel\.ini/ { printf "D" }')
echo "order of the settings write: $order (F file, D folder, R rename)"
if [ "$order" != "FDRD" ]; then
    echo "FAIL: expected FDRD; the trace:"
    cat "$log"
    exit 1
fi
