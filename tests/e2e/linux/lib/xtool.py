#!/usr/bin/env python3
"""Small X11 queries the shell tools lack.

usage: xtool.py selection-owner NAME   the window owning selection NAME (0: none)
       xtool.py map-keys TEXT          gives each character of TEXT a spare key of the
                                       keyboard, so typing it needs no remapping later
       xtool.py tray-icons CLASS       the shown windows of program CLASS (WM_CLASS
                                       name) embedded in the tray host's panel, one
                                       per line: id x y width height (root coordinates)
"""
import ctypes
import ctypes.util
import re
import subprocess
import sys

xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XInternAtom.restype = ctypes.c_ulong
xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
xlib.XGetSelectionOwner.restype = ctypes.c_ulong
xlib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                  ctypes.POINTER(ctypes.c_int)]
xlib.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
xlib.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int,
                                     ctypes.POINTER(ctypes.c_int)]
xlib.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                        ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xlib.XFree.argtypes = [ctypes.c_void_p]
IS_VIEWABLE = 2
UNICODE_KEYSYM = 0x1000000

# A window that vanishes between the tree walk and the query is no error.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
xlib.XSetErrorHandler.restype = ctypes.c_void_p
xlib.XSetErrorHandler(ERROR_HANDLER)


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


xlib.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                      ctypes.POINTER(WindowAttributes)]

TREE_LINE = re.compile(r'^(\s*)(0x[0-9a-f]+) (?:"[^"]*"|\(has no name\)): \(([^)]*)\)\s+'
                       r'(\d+)x(\d+)[+-]-?\d+[+-]-?\d+\s+\+(-?\d+)\+(-?\d+)')


def print_tray_icons(display, wanted):
    """One walk of the window tree by xwininfo (far fewer round trips than
    asking for each window): the shown windows of class `wanted` below a
    tint2 window."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True,
                          check=True).stdout
    panel_indent = None
    for line in tree.splitlines():
        match = TREE_LINE.match(line)
        if not match:
            continue
        indent, window, classes, width, height, x, y = match.groups()
        if panel_indent is not None and len(indent) <= panel_indent:
            panel_indent = None
        if '"tint2"' in classes:
            panel_indent = len(indent)
        elif panel_indent is not None and classes.startswith('"%s"' % wanted):
            attributes = WindowAttributes()
            if (xlib.XGetWindowAttributes(display, int(window, 16), ctypes.byref(attributes))
                    and attributes.map_state == IS_VIEWABLE):
                print(int(window, 16), x, y, width, height)


def map_keys(display, text):
    low, high = ctypes.c_int(), ctypes.c_int()
    xlib.XDisplayKeycodes(display, ctypes.byref(low), ctypes.byref(high))
    per = ctypes.c_int()
    count = high.value - low.value + 1
    table = xlib.XGetKeyboardMapping(display, low.value, count, ctypes.byref(per))
    spare = [low.value + i for i in range(count)
             if all(table[i * per.value + j] == 0 for j in range(per.value))]
    xlib.XFree(table)
    characters = [c for c in dict.fromkeys(text) if ord(c) > 0x7e]
    if len(spare) < len(characters):
        sys.exit("xtool.py: not enough spare keys")
    for character, keycode in zip(characters, reversed(spare)):
        keysym = ord(character) if ord(character) <= 0xff else UNICODE_KEYSYM + ord(character)
        symbols = (ctypes.c_ulong * 1)(keysym)
        xlib.XChangeKeyboardMapping(display, keycode, 1, symbols, 1)
    xlib.XSync(display, 0)


def main():
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("xtool.py: cannot open the display")
    if sys.argv[1:2] == ["selection-owner"] and len(sys.argv) == 3:
        atom = xlib.XInternAtom(display, sys.argv[2].encode(), 0)
        print(xlib.XGetSelectionOwner(display, atom))
    elif sys.argv[1:2] == ["map-keys"] and len(sys.argv) == 3:
        map_keys(display, sys.argv[2])
    elif sys.argv[1:2] == ["tray-icons"] and len(sys.argv) == 3:
        print_tray_icons(display, sys.argv[2])
    else:
        sys.exit(__doc__)


main()
