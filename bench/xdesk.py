"""What the benchmarks ask the private X desktop, through Xlib (ctypes):
the tray host's panel and the icons in it, top-level windows, titles and
attention requests. One connection per process; X errors about windows
that vanished meanwhile are ignored.
"""
import ctypes
import ctypes.util

xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                            ctypes.POINTER(ctypes.c_ulong),
                            ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                            ctypes.POINTER(ctypes.c_uint)]
xlib.XFree.argtypes = [ctypes.c_void_p]
xlib.XInternAtom.restype = ctypes.c_ulong
xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
xlib.XGetWindowProperty.argtypes = [
    ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long, ctypes.c_int,
    ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int),
    ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
    ctypes.POINTER(ctypes.c_void_p)]
xlib.XTranslateCoordinates.argtypes = [
    ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
    ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong)]
xlib.XSetErrorHandler.restype = ctypes.c_void_p
_IGNORE_ERRORS = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
xlib.XSetErrorHandler(_IGNORE_ERRORS)

IS_VIEWABLE = 2
ANY_PROPERTY_TYPE = 0
WHOLE_PROPERTY = 1 << 20  # in 32-bit units: far more than any title
URGENCY_HINT = 1 << 8  # XUrgencyHint in WM_HINTS.flags
WM_HINTS_FLAGS = 0
FORMAT_32 = 32


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


class Desktop:
    """A connection to the display in $DISPLAY."""

    def __init__(self):
        self.display = xlib.XOpenDisplay(None)
        if not self.display:
            raise SystemExit("xdesk: cannot open the display")
        self.root = xlib.XDefaultRootWindow(self.display)

    def atom(self, name):
        return xlib.XInternAtom(self.display, name.encode(), 0)

    def children(self, window):
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        kids, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not xlib.XQueryTree(self.display, window, ctypes.byref(root), ctypes.byref(parent),
                               ctypes.byref(kids), ctypes.byref(count)):
            return []
        result = [kids[i] for i in range(count.value)]
        if kids:
            xlib.XFree(kids)
        return result

    def class_name(self, window):
        hint = ClassHint()
        if not xlib.XGetClassHint(self.display, window, ctypes.byref(hint)):
            return None
        name = ctypes.string_at(hint.res_name).decode("latin-1") if hint.res_name else ""
        for pointer in (hint.res_name, hint.res_class):
            if pointer:
                xlib.XFree(pointer)
        return name

    def attributes(self, window):
        attributes = WindowAttributes()
        if not xlib.XGetWindowAttributes(self.display, window, ctypes.byref(attributes)):
            return None
        return attributes

    def viewable(self, window):
        attributes = self.attributes(window)
        return attributes is not None and attributes.map_state == IS_VIEWABLE

    def tray_panel(self):
        """The tray host's (tint2's) panel window, or None."""
        stack = [self.root]
        while stack:
            window = stack.pop()
            if self.class_name(window) == "tint2":
                return window
            stack.extend(self.children(window))
        return None

    def tray_icon(self, panel, program_class):
        """The shown icon window of the program in the panel, or None."""
        stack = self.children(panel)
        while stack:
            window = stack.pop()
            if self.class_name(window) == program_class and self.viewable(window):
                return window
            stack.extend(self.children(window))
        return None

    def centre(self, window):
        """The root coordinates of the middle of the window."""
        attributes = self.attributes(window)
        x, y, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
        xlib.XTranslateCoordinates(self.display, window, self.root, attributes.width // 2,
                                   attributes.height // 2, ctypes.byref(x), ctypes.byref(y),
                                   ctypes.byref(child))
        return x.value, y.value

    def popup_shown(self, program_class):
        """True while a pop-up (an override-redirect top-level window that
        is no tooltip) of the program is on the screen."""
        tooltip = self.atom("_NET_WM_WINDOW_TYPE_TOOLTIP")
        for window in self.children(self.root):
            attributes = self.attributes(window)
            if (attributes is None or attributes.map_state != IS_VIEWABLE
                    or not attributes.override_redirect
                    or self.class_name(window) != program_class):
                continue
            if tooltip not in self.property_words(window, "_NET_WM_WINDOW_TYPE"):
                return True
        return False

    def property_bytes(self, window, name):
        actual_type, actual_format = ctypes.c_ulong(), ctypes.c_int()
        count, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        status = xlib.XGetWindowProperty(
            self.display, window, self.atom(name), 0, WHOLE_PROPERTY, 0, ANY_PROPERTY_TYPE,
            ctypes.byref(actual_type), ctypes.byref(actual_format), ctypes.byref(count),
            ctypes.byref(after), ctypes.byref(data))
        if status != 0 or not data:
            return None, 0
        try:
            if actual_format.value == FORMAT_32:
                # Xlib hands 32-bit items as longs.
                words = ctypes.cast(data, ctypes.POINTER(ctypes.c_ulong))
                return [words[i] for i in range(count.value)], FORMAT_32
            return ctypes.string_at(data, count.value * actual_format.value // 8), \
                actual_format.value
        finally:
            xlib.XFree(data)

    def property_words(self, window, name):
        value, size = self.property_bytes(window, name)
        return value if size == FORMAT_32 else []

    def title(self, window):
        """The window's title as _NET_WM_NAME holds it (UTF-8), or None."""
        value, _ = self.property_bytes(window, "_NET_WM_NAME")
        return value.decode("utf-8", "replace") if isinstance(value, bytes) else None

    def demands_attention(self, window):
        """True while the window asks for attention: the urgency hint or
        _NET_WM_STATE_DEMANDS_ATTENTION."""
        hints = self.property_words(window, "WM_HINTS")
        if hints and hints[WM_HINTS_FLAGS] & URGENCY_HINT:
            return True
        return self.atom("_NET_WM_STATE_DEMANDS_ATTENTION") in \
            self.property_words(window, "_NET_WM_STATE")
