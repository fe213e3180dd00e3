#!/usr/bin/env bash
# cmake --install puts the program, its icon, its menu entry, its sound
# module libvantorel-sound.so and (when the mail library is part of the
# build) libpopmail.so in place, and the installed program looks for both
# libraries in the library folder.
#
# usage: check-install.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: check-install.sh BUILD_DIR}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
failed=0
check() {
    if "$@"; then
        echo "ok: ${*: -1}"
    else
        echo "FAIL: $*" >&2
        failed=1
    fi
}
check test -x "$prefix/bin/vantorel"
check test -f "$prefix/share/icons/hicolor/16x16/apps/vantorel.png"
check test -f "$prefix/share/icons/hicolor/32x32/apps/vantorel.png"
png_size() {
    python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8] == b"\x89PNG\r\n\x1a\n" else "none")' "$1"
}
check test "$(png_size "$prefix/share/icons/hicolor/16x16/apps/vantorel.png")" = 16x16
check test "$(png_size "$prefix/share/icons/hicolor/32x32/apps/vantorel.png")" = 32x32
check test -f "$prefix/share/applications/vantorel.desktop"
if command -v desktop-file-validate >/dev/null; then
    check desktop-file-validate "$prefix/share/applications/vantorel.desktop"
fi
check grep -q '^Exec=vantorel$' "$prefix/share/applications/vantorel.desktop"

runpath=$(readelf -d "$prefix/bin/vantorel" | sed -n 's/.*R\(UN\)\{0,1\}PATH.*\[\(.*\)\]/\2/p')
echo "runpath: $runpath"
if [ -f "$build/libpopmail.so" ]; then
    library=$(find "$prefix" -name libpopmail.so | head -n1)
    check test -n "$library"
    # The folder the run path names from bin/ must be where it went.
    folder=$(cd "$prefix/bin" && cd "${runpath#\$ORIGIN/}" 2>/dev/null && pwd || true)
    check test "$folder" = "$(dirname "$library")"
fi
# The sound module goes beside the mail library, where the run path finds it.
sound=$(find "$prefix" -name libvantorel-sound.so | head -n1)
check test -n "$sound"
check test "$(cd "$prefix/bin" && cd "${runpath#\$ORIGIN/}" 2>/dev/null && pwd || true)" = \
    "$(dirname "$sound")"
case "$runpath" in
    '$ORIGIN/../lib'*) echo "ok: run path $runpath" ;;
    *) echo "FAIL: run path '$runpath' does not lead from bin/ to lib/" >&2; failed=1 ;;
esac
exit $failed
