#!/usr/bin/python3
"""A StatusNotifierWatcher with a host of its own, for the Wayland
end-to-end test: the part of a desktop's panel that tray icons register
with on the session bus (org.kde.StatusNotifierWatcher), and the host that
reads what each icon shows.

Debian has no panel that runs on a headless weston (they need X11 or the
wlroots layer shell), so this stands in for one. It speaks the same D-Bus
interfaces a panel does; Qt's QSystemTrayIcon cannot tell the difference.

    tray-watcher.py LOG PNG_FOLDER

Each event is one JSON line in LOG:
    {"event": "ready"}                               the watcher is on the bus
    {"event": "registered", "item": SERVICE}         an icon registered
    {"event": "shown", "item": SERVICE, "title": ..., "tooltip": ...,
     "status": ..., "png": FILE}                     what the icon shows now
An icon's picture is written to PNG_FOLDER as item-N.png, one per change.
Runs until SIGTERM.

Runs under Debian's own python3 (python3-dbus, python3-gi)."""

import json
import signal
import struct
import sys
import zlib

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
WATCHER_PATH = "/StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
ITEM_PATH = "/StatusNotifierItem"
PROPERTIES = "org.freedesktop.DBus.Properties"
PROTOCOL_VERSION = 0

# Qt reads the watcher's properties through an interface built from this
# description, so it must name them (dbus-python lists methods and signals
# only).
INTROSPECTION = """<node>
 <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
 </interface>
 <interface name="org.freedesktop.DBus.Properties">
  <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
 </interface>
 <interface name="org.freedesktop.DBus.Introspectable">
  <method name="Introspect"><arg type="s" direction="out"/></method>
 </interface>
</node>"""


def png_bytes(width, height, argb):
    """A PNG (RGBA, 8 bits) of an SNI pixmap: ARGB32 in network byte order."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # no filter
        for x in range(width):
            a, r, g, b = argb[(y * width + x) * 4:(y * width + x) * 4 + 4]
            rows += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows))) + chunk(b"IEND", b""))


class Watcher(dbus.service.Object):
    def __init__(self, bus, log, png_folder):
        super().__init__(bus, WATCHER_PATH)
        self.bus = bus
        self.log = log
        self.png_folder = png_folder
        self.items = []
        self.pictures = 0
        for signal_name in ("NewIcon", "NewToolTip", "NewStatus", "NewTitle"):
            bus.add_signal_receiver(self.item_changed, signal_name=signal_name,
                                    dbus_interface=ITEM, sender_keyword="sender")

    def write(self, **event):
        self.log.write(json.dumps(event, ensure_ascii=False) + "\n")
        self.log.flush()

    # --- org.kde.StatusNotifierWatcher

    @dbus.service.method(WATCHER, in_signature="s", out_signature="",
                         sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # An item names either its bus name or (some toolkits) its path.
        name = service if not service.startswith("/") else sender
        if name not in self.items:
            self.items.append(name)
        self.write(event="registered", item=str(name))
        self.StatusNotifierItemRegistered(name)
        GLib.idle_add(self.read_item, name)

    @dbus.service.method(WATCHER, in_signature="s", out_signature="")
    def RegisterStatusNotifierHost(self, service):
        pass  # this watcher is its own host

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemUnregistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostRegistered(self):
        pass

    def watcher_properties(self):
        return {
            "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
            "IsStatusNotifierHostRegistered": dbus.Boolean(True),
            "ProtocolVersion": dbus.Int32(PROTOCOL_VERSION),
        }

    @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.watcher_properties()[name]

    @dbus.service.method(PROPERTIES, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return self.watcher_properties()

    @dbus.service.method("org.freedesktop.DBus.Introspectable", in_signature="",
                         out_signature="s", path_keyword="path", connection_keyword="connection")
    def Introspect(self, path, connection):
        return INTROSPECTION if path == WATCHER_PATH else "<node/>"

    # --- the host side: what an item shows

    def item_changed(self, *args, sender=None):
        for name in self.items:
            if name == sender or self.bus.get_name_owner(name) == sender:
                GLib.idle_add(self.read_item, name)

    def read_item(self, name):
        # Asked without waiting: the item may itself be waiting on a call to
        # this watcher (Qt asks for IsStatusNotifierHostRegistered right
        # after registering), and two blocking calls would deadlock.
        item = self.bus.get_object(name, ITEM_PATH, introspect=False)
        item.GetAll(ITEM, dbus_interface=PROPERTIES,
                    reply_handler=lambda values: self.item_read(name, values),
                    error_handler=lambda error: self.write(
                        event="unreadable", item=str(name), error=str(error)))
        return False

    def item_read(self, name, values):
        tooltip = values.get("ToolTip", ("", [], "", ""))
        png = self.save_picture(values.get("IconPixmap", []))
        self.write(event="shown", item=str(name), title=str(values.get("Title", "")),
                   tooltip=str(tooltip[2]), status=str(values.get("Status", "")), png=png)

    def save_picture(self, pixmaps):
        if not pixmaps:
            return ""
        width, height, data = max(pixmaps, key=lambda p: int(p[0]))
        self.pictures += 1
        path = "%s/item-%d.png" % (self.png_folder, self.pictures)
        with open(path, "wb") as out:
            out.write(png_bytes(int(width), int(height), bytes(data)))
        return path


def main():
    log_path, png_folder = sys.argv[1:3]
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    loop = GLib.MainLoop()
    with open(log_path, "a", encoding="utf-8") as log:
        watcher = Watcher(bus, log, png_folder)
        # Claimed only now, with the object in place: a client that sees the
        # name can call it at once.
        name = dbus.service.BusName(WATCHER, bus, do_not_queue=True)
        watcher.write(event="ready")
        GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, loop.quit)
        loop.run()
        del name


if __name__ == "__main__":
    main()
