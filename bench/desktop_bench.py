#!/usr/bin/env python3
"""Figures of a tray program on the private desktop (Xvfb, openbox, tint2).

usage: desktop_bench.py FIGURE PROGRAM --label LABEL --results FILE --work DIR
                        [--runs N] [--checks N] [--idle-seconds S] [--dovecot-log FILE]

FIGURE
  startup        exec to the icon shown in the tray, RUNS starts: min/median/max
  tray-idle      VmRSS 5 s after start; context switches per idle minute, per
                 thread, after the program's first check (an empty mailbox)
  announce-idle  the same after an announcement into another window has ended
                 (title restored, attention request over, sound closed)
  checks         VmRSS after 1, 10 and 100 checks, each started from the tray
                 menu's "今すぐチェック" and announced to its end
PROGRAM: a build folder holding vantorel (and libpopmail.so, libvantorel-sound.so), or the path of
         another tray program (a peer: startup and tray-idle only).

Runs on $DISPLAY, which must have tint2 as tray host. The checks talk to
the dovecot of tests/dovecot/dovecot.env's variables (POP3_HOST, POP3_PORT,
ALICE_* with mail, EMPTY_* without, SSL_CERT_FILE). Every process started
here is ended before it returns, whatever way it ends.
"""
import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import time

import procfs
import program_settings
import results
from xdesk import Desktop

POLL = 0.002  # s between looks at the tray while a start is timed
WATCH = 0.02  # s between looks at a title or a menu
SETTLE_AFTER_START = 5.0  # s from the icon to "after start"
SETTLE_AFTER_RUN = 0.5  # s a timed start runs on before it is ended
SETTLE_AFTER_CHECK = 0.5  # s from the restored title to reading VmRSS
SETTLE_BEFORE_IDLE = 2.0  # s from the last activity to the idle minute
ICON_TIMEOUT = 30
MENU_TIMEOUT = 10
CHECK_TIMEOUT = 30
FIRST_CHECK_TIMEOUT = 100  # the first check comes a minute after start
STOP_TIMEOUT = 5
INTERVAL_MINUTES = 30  # the next check comes after the measured minute
NOW_CHECK_ITEM = 4  # "今すぐチェック" in the tray menu, separators not counted
MENU_KEY_DELAY_MS = "60"
ORIGINAL_TITLE = "メモ帳 - 元のタイトル"
WORK_TITLE = "作業中のウィンドウ"
TARGET_PLACE = (560, 120)
WORK_PLACE = (40, 120)
REPORTED_CHECKS = (1, 10, 100)
HERE = os.path.dirname(os.path.abspath(__file__))


class Processes:
    """Everything started here; `stop_all` ends it in reverse order."""

    def __init__(self):
        self.started = []

    def start(self, command, **options):
        process = subprocess.Popen(command, **options)
        self.started.append(process)
        return process

    def stop(self, process):
        for send in (process.terminate, process.terminate, process.kill):
            if process.poll() is not None:
                break
            send()
            try:
                process.wait(STOP_TIMEOUT)
            except subprocess.TimeoutExpired:
                continue
        process.wait()
        if process in self.started:
            self.started.remove(process)

    def stop_all(self):
        for process in reversed(list(self.started)):
            self.stop(process)


def wait_until(condition, timeout, what, interval=WATCH):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise SystemExit("desktop_bench.py: %s" % what)
        time.sleep(interval)


class Bench:
    def __init__(self, arguments):
        self.arguments = arguments
        self.desktop = Desktop()
        self.panel = self.desktop.tray_panel()
        if not self.panel:
            raise SystemExit("desktop_bench.py: no tint2 tray on $DISPLAY")
        self.processes = Processes()
        self.results = results.Results(arguments.results, arguments.label)
        self.work = arguments.work
        os.makedirs(self.work, exist_ok=True)
        program = arguments.program
        self.is_vantorel = os.path.isdir(program)
        self.executable = os.path.join(program, "vantorel") if self.is_vantorel else program
        self.program_class = os.path.basename(self.executable)
        self.log_path = os.path.join(self.work, "program.log")

    # --- the program ---------------------------------------------------

    def install(self, host, user, password, **options):
        """A copy of vantorel with its own settings file; its executable."""
        folder = os.path.join(self.work, "program")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        shutil.copy2(self.executable, folder)
        for name in ("libpopmail.so", "libvantorel-sound.so"):
            library = os.path.join(self.arguments.program, name)
            if os.path.exists(library):
                shutil.copy2(library, folder)
        wav = os.path.join(folder, "bench.wav")
        program_settings.write_wav(wav)
        program_settings.write_settings(
            os.path.join(folder, "vantorel.ini"),
            program_settings.tray_settings(host, user, password, INTERVAL_MINUTES, wav,
                                           **options))
        return os.path.join(folder, "vantorel")

    def prepared_executable(self, mailbox="EMPTY", **options):
        if not self.is_vantorel:
            return self.executable
        return self.install("%s:%s" % (os.environ["POP3_HOST"], os.environ["POP3_PORT"]),
                            os.environ[mailbox + "_USER"], os.environ[mailbox + "_PASSWORD"],
                            **options)

    def start(self, executable):
        log = open(self.log_path, "ab")
        try:
            return self.processes.start([executable], stdout=log, stderr=subprocess.STDOUT,
                                        cwd=os.path.dirname(executable))
        finally:
            log.close()

    def icon(self):
        return self.desktop.tray_icon(self.panel, self.program_class)

    def wait_for_icon(self, process):
        def shown_or_ended():
            if process.poll() is not None:
                raise SystemExit("desktop_bench.py: %s ended with status %s; see %s"
                                 % (self.program_class, process.returncode, self.log_path))
            return self.icon() is not None

        wait_until(shown_or_ended, ICON_TIMEOUT, "the icon did not appear", POLL)

    def stop(self, process):
        self.processes.stop(process)
        wait_until(lambda: self.icon() is None, ICON_TIMEOUT, "the icon stayed in the tray")

    # --- other programs' windows and the tray menu ------------------------

    def window(self, title, place):
        process = self.processes.start(
            [sys.executable, os.path.join(HERE, "target_window.py"), title, str(place[0]),
             str(place[1])], stdout=subprocess.PIPE, text=True)
        window = int(process.stdout.readline())
        wait_until(lambda: self.desktop.attributes(window) is not None
                   and self.desktop.viewable(window), MENU_TIMEOUT, "a window was not shown")
        return window

    def activate(self, window):
        subprocess.run(["xdotool", "windowactivate", "--sync", str(window)], check=True,
                       stderr=subprocess.DEVNULL)

    def choose_from_tray_menu(self, item):
        x, y = self.desktop.centre(self.icon())
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "3"], check=True)
        wait_until(lambda: self.desktop.popup_shown(self.program_class), MENU_TIMEOUT,
                   "the tray menu did not open")
        subprocess.run(["xdotool", "key", "--delay", MENU_KEY_DELAY_MS] + ["Down"] * item +
                       ["Return"], check=True)
        wait_until(lambda: not self.desktop.popup_shown(self.program_class), MENU_TIMEOUT,
                   "the tray menu did not close")

    def sessions_ended(self):
        """POP3 sessions dovecot has seen end so far."""
        log = self.arguments.dovecot_log
        if not log or not os.path.exists(log):
            return 0
        with open(log, errors="replace") as text:
            return sum("Disconnected: Logged out" in line for line in text)

    def wait_for_session_end(self, before, timeout):
        wait_until(lambda: self.sessions_ended() > before, timeout,
                   "the program's POP3 session did not end")

    # --- the figures -------------------------------------------------------

    def startup(self):
        executable = self.prepared_executable()
        times, cpu = [], []
        for run in range(1, self.arguments.runs + 1):
            started = time.monotonic()
            process = self.start(executable)
            self.wait_for_icon(process)
            times.append((time.monotonic() - started) * 1000)
            # What the start cost the program itself, which the machine's
            # load hardly changes: the CPU time until the icon was seen,
            # and the shared objects it had loaded by then.
            cpu.append(procfs.cpu_ms(process.pid))
            objects = procfs.shared_objects(process.pid)
            time.sleep(SETTLE_AFTER_RUN)
            self.stop(process)
            print("  start %2d: %4.0f ms to the tray icon, %3.0f ms of CPU, %d shared objects"
                  % (run, times[-1], cpu[-1], len(objects)), flush=True)
        self.results.add("startup_min_ms", "%.0f" % min(times))
        self.results.add("startup_median_ms", "%.0f" % statistics.median(times))
        self.results.add("startup_max_ms", "%.0f" % max(times))
        self.results.add("startup_cpu_median_ms", "%.0f" % statistics.median(cpu))
        self.results.add("startup_shared_objects", len(objects))
        print("  min %.0f / median %.0f / max %.0f ms over %d starts; CPU median %.0f ms"
              % (min(times), statistics.median(times), max(times), len(times),
                 statistics.median(cpu)))

    def tray_idle(self):
        executable = self.prepared_executable()
        sessions = self.sessions_ended()
        process = self.start(executable)
        started = time.monotonic()
        self.wait_for_icon(process)
        time.sleep(SETTLE_AFTER_START)
        kib = procfs.resident_kib(process.pid)
        self.results.add("rss_tray_kib", kib)
        print("  VmRSS %.1f MiB, %.0f s after start in tray mode" % (kib / 1024,
                                                                        SETTLE_AFTER_START))
        if self.is_vantorel:
            # In tray mode the first check comes a minute after start; the
            # idle minute is measured after it (an empty mailbox: no
            # announcement) and after popmail ended its session.
            self.wait_for_session_end(sessions, FIRST_CHECK_TIMEOUT)
            print("  first check over %.0f s after start (empty mailbox); VmRSS %.1f MiB"
                  % (time.monotonic() - started, procfs.resident_kib(process.pid) / 1024))
            self.results.add("rss_after_first_check_kib", procfs.resident_kib(process.pid))
        self.idle_minute(process, "idle_tray")
        self.stop(process)

    def announce_idle(self):
        work_window = self.window(WORK_TITLE, WORK_PLACE)
        target = self.window(ORIGINAL_TITLE, TARGET_PLACE)
        # The notices go to the window under the pointer while another one
        # is active, so that the caption's attention request runs too.
        x, y = self.desktop.centre(target)
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
        self.activate(work_window)
        executable = self.prepared_executable("ALICE", ONMOUSE="True")
        sessions = self.sessions_ended()
        process = self.start(executable)
        self.wait_for_icon(process)
        arrival = self.wait_for_announcement(target, FIRST_CHECK_TIMEOUT)
        attention = [False]

        def restored():
            attention[0] = attention[0] or self.desktop.demands_attention(target)
            return self.desktop.title(target) == ORIGINAL_TITLE

        wait_until(restored, CHECK_TIMEOUT, "the title was not restored")
        wait_until(lambda: not self.desktop.demands_attention(target), CHECK_TIMEOUT,
                   "the attention request did not end")
        self.wait_for_session_end(sessions, CHECK_TIMEOUT)
        print("  announced %r, title restored; attention request %s"
              % (arrival, "seen and ended" if attention[0] else "not seen"))
        self.results.add("rss_after_announcement_kib", procfs.resident_kib(process.pid))
        self.idle_minute(process, "idle_after_announcement")
        self.stop(process)

    def wait_for_announcement(self, target, timeout):
        """Waits for the arrival notice in the target's title; returns it."""
        seen = [None]

        def arrived():
            title = self.desktop.title(target) or ""
            if title.endswith("通メールが来ています。") and not title.startswith("以上"):
                seen[0] = title
            return seen[0] is not None

        wait_until(arrived, timeout, "no arrival notice in the target's title")
        return seen[0]

    def checks(self):
        target = self.window(ORIGINAL_TITLE, TARGET_PLACE)
        executable = self.prepared_executable("ALICE")
        process = self.start(executable)
        self.wait_for_icon(process)
        time.sleep(SETTLE_AFTER_START)
        print("  VmRSS %.1f MiB before the first check" % (procfs.resident_kib(process.pid) /
                                                             1024))
        series = []
        started = time.monotonic()
        for check in range(1, self.arguments.checks + 1):
            self.activate(target)
            self.choose_from_tray_menu(NOW_CHECK_ITEM)
            self.wait_for_announcement(target, CHECK_TIMEOUT)
            wait_until(lambda: self.desktop.title(target) == ORIGINAL_TITLE, CHECK_TIMEOUT,
                       "the title was not restored after check %d" % check)
            time.sleep(SETTLE_AFTER_CHECK)
            series.append(procfs.resident_kib(process.pid))
            if check in REPORTED_CHECKS or check % 10 == 0:
                print("  after check %3d: VmRSS %.1f MiB (%.1f s per check)"
                      % (check, series[-1] / 1024, (time.monotonic() - started) / check),
                      flush=True)
        for check in REPORTED_CHECKS:
            if check <= len(series):
                self.results.add("rss_check_%d_kib" % check, series[check - 1])
        self.results.add("rss_growth_kib", series[-1] - series[0])
        self.results.add("checks_done", len(series))
        self.stop(process)

    def idle_minute(self, process, figure):
        seconds = self.arguments.idle_seconds
        time.sleep(SETTLE_BEFORE_IDLE)
        before = procfs.thread_switches(process.pid)
        time.sleep(seconds)
        after = procfs.thread_switches(process.pid)
        rows = procfs.switches_between(before, after)
        stacks = procfs.thread_stacks(process.pid)
        scale = 60.0 / seconds
        print("  context switches in %.0f idle s, per minute (voluntary + nonvoluntary):"
              % seconds)
        total = 0.0
        for tid, name, voluntary, nonvoluntary in rows:
            per_minute = (voluntary + nonvoluntary) * scale
            total += per_minute
            print("    %-16s %7d %6.1f  (%d + %d)  %s"
                  % (name, tid, per_minute, voluntary, nonvoluntary,
                     procfs.thread_role(name, stacks.get(tid, []))))
        print("    %-16s %7s %6.1f" % ("whole process", "", total))
        self.results.add(figure + "_per_min", "%.1f" % total)
        self.results.add(figure + "_threads", len(after))
        self.results.add(figure + "_seconds", "%.0f" % seconds)


FIGURES = {"startup": Bench.startup, "tray-idle": Bench.tray_idle,
           "announce-idle": Bench.announce_idle, "checks": Bench.checks}


def parse_arguments():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("figure", choices=sorted(FIGURES))
    parser.add_argument("program")
    parser.add_argument("--label", required=True)
    parser.add_argument("--results", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--checks", type=int, default=100)
    parser.add_argument("--idle-seconds", type=float, default=60)
    parser.add_argument("--dovecot-log")
    return parser.parse_args()


def main():
    arguments = parse_arguments()
    # An ending run (Ctrl-C, TERM) still ends what it started.
    for number in (signal.SIGINT, signal.SIGTERM):
        signal.signal(number, lambda *_: sys.exit(130))
    bench = Bench(arguments)
    try:
        FIGURES[arguments.figure](bench)
    finally:
        bench.processes.stop_all()


main()
