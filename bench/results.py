#!/usr/bin/env python3
"""The benchmarks' figures: each benchmark adds lines "subject TAB figure
TAB value" to one results file; this prints them as one table.

usage: results.py RESULTS_FILE SUBJECT...      (the measured builds, in order)
       results.py --add RESULTS_FILE SUBJECT FIGURE VALUE
"""
import sys

KIB_PER_MIB = 1024

# figure, what it is, goal, how to show a value, peers to show beside it
ROWS = [
    ("idle_tray_per_min", "idle wake-ups, tray mode (/min, whole process)", "<= 10",
     "count", ["bare-qt-tray"]),
    ("idle_tray_threads", "  threads then", "", "count", ["bare-qt-tray"]),
    ("idle_tray_seconds", "  measured over (s), scaled to a minute", "", "count",
     ["bare-qt-tray"]),
    ("idle_after_announcement_per_min", "idle wake-ups after an announcement (/min)", "<= 10",
     "count", []),
    ("idle_after_announcement_threads", "  threads then", "", "count", []),
    ("idle_after_announcement_seconds", "  measured over (s), scaled to a minute", "", "count",
     []),
    ("rss_tray_kib", "VmRSS 5 s after start, tray mode (MiB)", "<= 30", "mib", ["bare-qt-tray"]),
    ("rss_after_first_check_kib", "VmRSS after the first check, no mail (MiB)", "", "mib", []),
    ("rss_check_1_kib", "VmRSS after check 1 with announcement (MiB)", "", "mib", []),
    ("rss_check_10_kib", "VmRSS after check 10 (MiB)", "", "mib", []),
    ("rss_check_100_kib", "VmRSS after check 100 (MiB)", "", "mib", []),
    ("rss_growth_kib", "VmRSS growth, check 1 to last (MiB)", "<= 1", "mib", []),
    ("checks_done", "  checks driven from the tray menu", "100", "count", []),
    ("startup_median_ms", "start-up to the tray icon, median (ms)", "<= 150", "count",
     ["bare-qt-tray"]),
    ("startup_min_ms", "  min (ms)", "", "count", ["bare-qt-tray"]),
    ("startup_max_ms", "  max (ms)", "", "count", ["bare-qt-tray"]),
    ("startup_cpu_median_ms", "  CPU time to the icon, median (ms)", "", "count",
     ["bare-qt-tray"]),
    ("startup_shared_objects", "  shared objects loaded then", "", "count", ["bare-qt-tray"]),
    ("mail_tls_round_trips", "one check, implicit TLS: round trips", "<= 5", "count",
     ["poplib", "curl"]),
    ("mail_tls_ms", "  time incl. process start (ms)", "", "count", ["poplib", "curl"]),
    ("mail_stls_round_trips", "one check, STLS: round trips", "<= 6", "count",
     ["poplib", "curl"]),
    ("mail_stls_ms", "  time incl. process start (ms)", "", "count", ["poplib", "curl"]),
    ("win_working_set_kib", "Windows (Wine, indicative): working set (MiB)", "", "mib", []),
    ("win_private_kib", "  private bytes (MiB)", "", "mib", []),
]


class Results:
    """Adds figures of one subject to a results file."""

    def __init__(self, path, subject):
        self.path = path
        self.subject = subject

    def add(self, figure, value):
        with open(self.path, "a") as out:
            out.write("%s\t%s\t%s\n" % (self.subject, figure, value))


def read(path):
    figures = {}
    with open(path) as lines:
        for line in lines:
            subject, figure, value = line.rstrip("\n").split("\t")
            figures[(subject, figure)] = value
    return figures


def shown(value, kind):
    if value is None:
        return "-"
    if kind == "mib":
        return "%.1f" % (float(value) / KIB_PER_MIB)
    return value


def table(figures, subjects):
    header = ["figure", "goal"] + subjects + ["peer"]
    lines = [header]
    for figure, text, goal, kind, peers in ROWS:
        values = [shown(figures.get((subject, figure)), kind) for subject in subjects]
        if all(value == "-" for value in values):
            continue
        peer = ", ".join("%s %s" % (name, shown(figures[(name, figure)], kind))
                         for name in peers if (name, figure) in figures)
        lines.append([text, goal] + values + [peer])
    widths = [max(len(line[i]) for line in lines) for i in range(len(header))]
    for number, line in enumerate(lines):
        print("  ".join(cell.ljust(width) if i < 2 or i == len(line) - 1 else cell.rjust(width)
                        for i, (cell, width) in enumerate(zip(line, widths))).rstrip())
        if number == 0:
            print("  ".join("-" * width for width in widths))


def main():
    if len(sys.argv) == 6 and sys.argv[1] == "--add":
        Results(sys.argv[2], sys.argv[3]).add(sys.argv[4], sys.argv[5])
    elif len(sys.argv) >= 3:
        table(read(sys.argv[1]), sys.argv[2:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
