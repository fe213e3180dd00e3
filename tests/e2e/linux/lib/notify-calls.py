#!/usr/bin/env python3
"""The notifications a daemon accepted, read from dbus-monitor's log.

usage: notify-calls.py MONITOR_LOG DAEMON

Prints one "summary<TAB>body" line (the body's newlines as \\n) for each
org.freedesktop.Notifications.Notify call that DAEMON (the unique bus name
of the notification daemon, ":1.N") answered with a notification id; a call
nobody answered, or that got an error, is not listed.
"""
import re
import sys

HEADER = re.compile(r"^(method call|method return|signal|error) time=\S+ (.*)$", re.M)
FIELD = re.compile(r"(\w+)=(\S+?);?(?=\s|$)")
# A string argument: dbus-monitor prints it in quotes, newlines kept.
STRING = re.compile(r'^   string "(.*?)"$', re.M | re.S)


def messages(log):
    """(kind, header fields, argument text) for each message in the log."""
    found = list(HEADER.finditer(log))
    for index, match in enumerate(found):
        end = found[index + 1].start() if index + 1 < len(found) else len(log)
        yield match.group(1), dict(FIELD.findall(match.group(2))), log[match.end():end]


def main():
    log_path, daemon = sys.argv[1:3]
    log = open(log_path, encoding="utf-8", errors="replace").read()
    calls = {}  # (sender, serial) -> (summary, body)
    for kind, fields, arguments in messages(log):
        if kind == "method call" and fields.get("member") == "Notify":
            strings = STRING.findall(arguments)
            # app_name, app_icon, summary, body
            if len(strings) >= 4:
                calls[(fields.get("sender"), fields.get("serial"))] = (strings[2], strings[3])
        elif kind == "method return" and fields.get("sender") == daemon:
            call = calls.pop((fields.get("destination"), fields.get("reply_serial")), None)
            if call is not None and re.search(r"^   uint32 [1-9]", arguments, re.M):
                summary, body = call
                print(summary + "\t" + body.replace("\n", "\\n"))


if __name__ == "__main__":
    main()
