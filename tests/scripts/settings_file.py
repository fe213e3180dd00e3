#!/usr/bin/env python3
"""The program's settings file (vantorel.ini) as the tests, the demo and
the benchmarks write it: CP932 with CRLF line ends, as the program keeps it.

usage: settings_file.py PATH [--accepted] [--password-stdin] [ITEM ...]

  ITEM              a section name, or KEY=VALUE for the section named last;
                    a key given again replaces the earlier value
  --accepted        start from the settings a user has who accepted them
                    (STARTUP=True and the usual options); ITEMs add to them
  --password-stdin  USERINFO's PASSWORD is the first line of standard input,
                    so that it never shows in a list of processes

Used as a module: accepted_settings(), apply_items() and write_settings().
"""
import sys

USAGE = __doc__


def accepted_settings():
    """{section: {key: value}} of a user who accepted the basic settings:
    the program starts in the tray, takes the title back after a notice and
    ignores a failed check."""
    return {
        "USERINFO": {"STARTUP": "True"},
        "OPTION": {"ZEROCHECK": "False", "TitleCallBack": "True", "IGNOREERR": "True",
                   "ONMOUSE": "False", "CHECKONCE": "False"},
    }


def apply_items(sections, items):
    """Adds ITEMs (a section name, or KEY=VALUE under the section named
    last) to `sections`; returns it."""
    current = None
    for item in items:
        key, equals, value = item.partition("=")
        if not equals:
            current = sections.setdefault(item, {})
        elif current is None:
            raise ValueError("%s comes before any section" % item)
        else:
            current[key] = value
    return sections


def write_settings(path, sections):
    """Writes {section: {key: value}} as the program keeps its settings
    file: CP932, CRLF."""
    lines = []
    for section, items in sections.items():
        lines.append("[%s]" % section)
        lines.extend("%s=%s" % (key, value) for key, value in items.items())
    # Encoded first: text CP932 cannot hold fails before the file is touched.
    data = ("\r\n".join(lines) + "\r\n").encode("cp932")
    with open(path, "wb") as out:
        out.write(data)


def main(arguments):
    if not arguments or arguments[0].startswith("-"):
        sys.exit(USAGE)
    path, rest = arguments[0], arguments[1:]
    sections = {}
    password = None
    while rest and rest[0].startswith("--"):
        option = rest.pop(0)
        if option == "--accepted":
            sections = accepted_settings()
        elif option == "--password-stdin":
            password = sys.stdin.readline().rstrip("\r\n")
        else:
            sys.exit(USAGE)
    try:
        apply_items(sections, rest)
    except ValueError as error:
        sys.exit("settings_file.py: %s" % error)
    if password is not None:
        sections.setdefault("USERINFO", {})["PASSWORD"] = password
    write_settings(path, sections)


if __name__ == "__main__":
    main(sys.argv[1:])
