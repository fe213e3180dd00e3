#!/usr/bin/env python3
"""Start-up time to the tray and idle memory of the Linux desktop program.

usage: desktop_startup.py PROGRAM_DIR [RUNS]

Runs PROGRAM_DIR/vantorel (its settings file must give tray mode) RUNS
times on the current X display, which must have a tray host (tint2). For
each run it measures the time from starting the process until its icon is
shown in the tray, then lets the program rest 5 seconds and reads its
resident memory (VmRSS). Prints each run and the medians.
"""
import ctypes
import ctypes.util
import os
import signal
import statistics
import subprocess
import sys
import time

xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                            ctypes.POINTER(ctypes.c_ulong),
                            ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                            ctypes.POINTER(ctypes.c_uint)]
xlib.XFree.argtypes = [ctypes.c_void_p]
xlib.XSetErrorHandler.restype = ctypes.c_void_p
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
xlib.XSetErrorHandler(ERROR_HANDLER)


class ClassHint(ctypes.Structure):
    _fields_ = [("res_name", ctypes.c_void_p), ("res_class", ctypes.c_void_p)]


class WindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int),
                ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("class", ctypes.c_int),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


xlib.XGetClassHint.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ClassHint)]
xlib.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                      ctypes.POINTER(WindowAttributes)]
IS_VIEWABLE = 2
IDLE_SECONDS = 5


def children(display, window):
    root, parent = ctypes.c_ulong(), ctypes.c_ulong()
    kids, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    if not xlib.XQueryTree(display, window, ctypes.byref(root), ctypes.byref(parent),
                           ctypes.byref(kids), ctypes.byref(count)):
        return []
    result = [kids[i] for i in range(count.value)]
    if kids:
        xlib.XFree(kids)
    return result


def class_name(display, window):
    hint = ClassHint()
    if not xlib.XGetClassHint(display, window, ctypes.byref(hint)):
        return None
    name = ctypes.string_at(hint.res_name) if hint.res_name else b""
    for pointer in (hint.res_name, hint.res_class):
        if pointer:
            xlib.XFree(pointer)
    return name


def tray_panel(display):
    stack = [xlib.XDefaultRootWindow(display)]
    while stack:
        window = stack.pop()
        if class_name(display, window) == b"tint2":
            return window
        stack.extend(children(display, window))
    return None


def icon_shown(display, panel):
    stack = children(display, panel)
    while stack:
        window = stack.pop()
        if class_name(display, window) == b"vantorel":
            attributes = WindowAttributes()
            if (xlib.XGetWindowAttributes(display, window, ctypes.byref(attributes))
                    and attributes.map_state == IS_VIEWABLE):
                return True
        stack.extend(children(display, window))
    return False


def resident_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def stop(process):
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def one_run(display, panel, program):
    start = time.monotonic()
    process = subprocess.Popen([program], stderr=subprocess.DEVNULL)
    try:
        while not icon_shown(display, panel):
            if process.poll() is not None or time.monotonic() - start > 30:
                raise SystemExit("desktop_startup.py: the icon did not appear")
            time.sleep(0.002)
        to_tray = time.monotonic() - start
        time.sleep(IDLE_SECONDS)
        return to_tray, resident_kib(process.pid)
    finally:
        stop(process)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    program = os.path.join(sys.argv[1], "vantorel")
    runs = int(sys.argv[2]) if len(sys.argv) == 3 else 5
    display = xlib.XOpenDisplay(None)
    panel = tray_panel(display) if display else None
    if not panel:
        sys.exit("desktop_startup.py: no display with a tint2 tray")
    times, memory = [], []
    for run in range(1, runs + 1):
        to_tray, kib = one_run(display, panel, program)
        times.append(to_tray)
        memory.append(kib)
        print("run %d: %.0f ms to the tray icon, VmRSS %d KiB after %d s idle"
              % (run, to_tray * 1000, kib, IDLE_SECONDS))
        # The icon of the ended run must be gone before the next starts.
        deadline = time.monotonic() + 10
        while icon_shown(display, panel) and time.monotonic() < deadline:
            time.sleep(0.01)
    print("median: %.0f ms to the tray icon, VmRSS %.1f MiB idle"
          % (statistics.median(times) * 1000, statistics.median(memory) / 1024))


main()
