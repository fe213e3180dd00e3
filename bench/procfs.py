"""Figures of a running process from /proc, and what its threads are for
(from one gdb backtrace of every thread)."""
import os
import re
import subprocess

GDB_SECONDS = 120


def status_fields(path):
    fields = {}
    with open(path) as status:
        for line in status:
            name, _, value = line.partition(":")
            fields[name] = value.strip()
    return fields


def resident_kib(pid):
    """VmRSS of the process, in KiB."""
    return int(status_fields("/proc/%d/status" % pid)["VmRSS"].split()[0])


def cpu_ms(pid):
    """CPU time the process's live threads have run so far, in ms (from
    the scheduler's own nanosecond count, not the 10 ms clock ticks)."""
    total_ns = 0
    base = "/proc/%d/task" % pid
    for tid in os.listdir(base):
        try:
            with open("%s/%s/schedstat" % (base, tid)) as stat:
                total_ns += int(stat.read().split()[0])
        except FileNotFoundError:
            continue  # the thread ended meanwhile
    return total_ns / 1e6


def shared_objects(pid):
    """The shared objects (.so files) mapped into the process."""
    objects = set()
    with open("/proc/%d/maps" % pid) as maps:
        for line in maps:
            fields = line.split(None, 5)
            path = fields[5].strip() if len(fields) == 6 else ""  # anonymous: no path
            if ".so" in os.path.basename(path):
                objects.add(path)
    return objects


def thread_switches(pid):
    """{tid: (name, voluntary, nonvoluntary)} for every thread now."""
    threads = {}
    base = "/proc/%d/task" % pid
    for tid in os.listdir(base):
        try:
            fields = status_fields("%s/%s/status" % (base, tid))
        except FileNotFoundError:
            continue  # the thread ended meanwhile
        threads[int(tid)] = (fields["Name"], int(fields["voluntary_ctxt_switches"]),
                             int(fields["nonvoluntary_ctxt_switches"]))
    return threads


def switches_between(before, after):
    """[(tid, name, voluntary, nonvoluntary)] for the threads alive at the
    end; a thread that came up meanwhile counts from 0. Threads that ended
    meanwhile are listed with name "(ended)" and what they had before."""
    rows = []
    for tid, (name, voluntary, nonvoluntary) in sorted(after.items()):
        _, voluntary0, nonvoluntary0 = before.get(tid, (name, 0, 0))
        rows.append((tid, name, voluntary - voluntary0, nonvoluntary - nonvoluntary0))
    for tid in sorted(set(before) - set(after)):
        rows.append((tid, "(ended)", 0, 0))
    return rows


# What a thread is for, by its name or a function on its stack (first
# match wins).
THREAD_ROLES = [
    ("QXcbEventQueue", "Qt's X reader: waits for the X server's events, hands them to the main thread"),
    ("QDBusConnection", "Qt's D-Bus thread: the session-bus connection (tray and theme look-ups)"),
    ("SessionKeeper", "popmail's session keeper: QUITs a kept POP3 session, else sleeps"),
    ("pa_mainloop", "PulseAudio's client thread (sound)"),
    ("QThreadPoolThread", "a worker of Qt's thread pool"),
    ("QCoreApplication::exec", "the main thread: tray, windows, timers (vantorel: the checks too)"),
    ("gdbus", "GLib's D-Bus worker (GIO)"),
    ("gmain", "GLib's main-context thread (GIO)"),
]

THREAD_HEADER = re.compile(r'^Thread \d+ \(Thread 0x[0-9a-f]+ \(LWP (\d+)\) "([^"]*)"\)')
FRAME = re.compile(r'^#\d+\s+(?:0x[0-9a-f]+ in )?(\S+?)\s*\(.*?(?: from (\S+))?$')


def thread_stacks(pid):
    """{tid: [function, ...]} from one `thread apply all bt` by gdb, which
    stops the process for about a second."""
    command = ["gdb", "-nx", "-batch", "-p", str(pid), "-ex", "set debuginfod enabled off",
               "-ex", "thread apply all bt 40"]
    environment = dict(os.environ, DEBUGINFOD_URLS="")
    try:
        output = subprocess.run(command, capture_output=True, text=True, env=environment,
                                timeout=GDB_SECONDS).stdout
    except (OSError, subprocess.TimeoutExpired):
        return {}
    stacks, current = {}, None
    for line in output.splitlines():
        header = THREAD_HEADER.match(line)
        if header:
            current = int(header.group(1))
            stacks[current] = []
            continue
        frame = FRAME.match(line)
        if frame and current is not None:
            function, library = frame.groups()
            if function == "??" and library:
                function = "?? in " + os.path.basename(library)
            stacks[current].append(function)
    return stacks


def thread_role(name, stack):
    for marker, role in THREAD_ROLES:
        if marker == name or any(marker in function for function in stack):
            return role
    # Unknown: the outermost function that is not the C library's start-up.
    own = [f for f in stack if f not in ("clone", "clone3", "start_thread", "??")]
    return "runs %s" % own[-1] if own else "(no stack)"
