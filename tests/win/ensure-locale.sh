#!/usr/bin/env bash
# Makes sure the ja_JP.UTF-8 locale exists: Wine takes its code page from
# it (932), and the Windows tests need Japanese in the ANSI calls.
set -euo pipefail

if locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    exit 0
fi
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Generating the ja_JP.UTF-8 locale"
"${sudo[@]}" sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
"${sudo[@]}" locale-gen >/dev/null
