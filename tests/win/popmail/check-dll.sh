#!/usr/bin/env bash
# popmail.dll as it ships: it exports exactly the functions of popmail.h,
# and imports system DLLs only (the C++ runtime, libgcc and winpthread are
# linked in, so nothing of mingw has to be shipped beside it).
#
# usage: check-dll.sh POPMAIL_DLL POPMAIL_H
set -euo pipefail

dll="$1"
header="$2"
objdump=x86_64-w64-mingw32-objdump
# objdump's headings are translated in other locales (the Wine session is ja_JP).
export LC_ALL=C

dump="$("$objdump" -p "$dll")"
exported="$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
    sed -n 's/^\s*\[ *[0-9]*\] *//p' | sort)"
declared="$(sed -n 's/^POPMAIL_API [^(]*[ *]\([A-Za-z0-9_]*\)(.*/\1/p' "$header" | sort)"
if [ -z "$declared" ] || [ "$exported" != "$declared" ]; then
    echo "FAILED: exports differ from popmail.h" >&2
    diff <(echo "$declared") <(echo "$exported") >&2 || true
    exit 1
fi

readonly system_dlls='^(KERNEL32|msvcrt|WS2_32|Secur32|CRYPT32)\.dll$'
imported="$(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | sort -u)"
if grep -qviE "$system_dlls" <<<"$imported"; then
    echo "FAILED: imports beyond the system's:" >&2
    grep -viE "$system_dlls" <<<"$imported" >&2
    exit 1
fi
echo "exports: $(echo $exported)"
echo "imports: $(echo $imported)"
echo "size: $(stat -c %s "$dll") bytes"
