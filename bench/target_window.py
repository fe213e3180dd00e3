#!/usr/bin/env python3
"""Another program's window for the benchmarks to announce into: a plain
top-level X window with a UTF-8 title, placed where asked.

usage: target_window.py TITLE X Y

Prints the window's id once it is mapped, then waits until it is ended.
"""
import ctypes
import signal
import sys

from xdesk import xlib

WIDTH, HEIGHT = 320, 200
PROP_MODE_REPLACE = 0
INPUT_HINT = 1  # WM_HINTS.flags: the window takes the keyboard focus
WM_HINTS_WORDS = 9
US_POSITION, US_SIZE = 1, 2  # WM_NORMAL_HINTS.flags: the user chose these
SIZE_HINTS_WORDS = 18
WHITE = 0xffffff

xlib.XCreateSimpleWindow.restype = ctypes.c_ulong
xlib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong,
                                     ctypes.c_ulong]
xlib.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong,
                                 ctypes.c_int, ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
xlib.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]


def set_property(display, window, name, kind, data, item_format):
    atom = xlib.XInternAtom(display, name.encode(), 0)
    kind_atom = xlib.XInternAtom(display, kind.encode(), 0)
    buffer = (ctypes.create_string_buffer(data, len(data)) if item_format == 8
              else (ctypes.c_long * len(data))(*data))
    xlib.XChangeProperty(display, window, atom, kind_atom, item_format, PROP_MODE_REPLACE,
                         buffer, len(data))


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    title = sys.argv[1].encode("utf-8")
    x, y = int(sys.argv[2]), int(sys.argv[3])
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("target_window.py: cannot open the display")
    root = xlib.XDefaultRootWindow(display)
    window = xlib.XCreateSimpleWindow(display, root, x, y, WIDTH, HEIGHT, 0, 0, WHITE)
    set_property(display, window, "_NET_WM_NAME", "UTF8_STRING", title, 8)
    set_property(display, window, "WM_NAME", "UTF8_STRING", title, 8)
    set_property(display, window, "WM_CLASS", "STRING", b"bench-target\0BenchTarget\0", 8)
    hints = [INPUT_HINT, 1] + [0] * (WM_HINTS_WORDS - 2)
    set_property(display, window, "WM_HINTS", "WM_HINTS", hints, 32)
    size = [US_POSITION | US_SIZE, x, y, WIDTH, HEIGHT] + [0] * (SIZE_HINTS_WORDS - 5)
    set_property(display, window, "WM_NORMAL_HINTS", "WM_SIZE_HINTS", size, 32)
    xlib.XMapWindow(display, window)
    xlib.XSync(display, 0)
    print(window, flush=True)
    while True:
        signal.pause()


main()
