#!/usr/bin/python3
"""A stand-in for the desktop's screen saver service on the session bus the environment names.

Records every Inhibit and UnInhibit, one tab-separated line each, to the file given as the
first argument; prints "ready" once the service's name is owned. Each Inhibit gets a cookie of
its own, so a test can tell which hold was let go.
"""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.ScreenSaver"


class ScreenSaver(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, "/org/freedesktop/ScreenSaver")
        self.log = log
        self.next_cookie = 4100

    @dbus.service.method(NAME, in_signature="ss", out_signature="u")
    def Inhibit(self, application, reason):
        self.next_cookie += 1
        self.record("Inhibit", application, reason, self.next_cookie)
        return self.next_cookie

    @dbus.service.method(NAME, in_signature="u")
    def UnInhibit(self, cookie):
        self.record("UnInhibit", cookie)

    def record(self, *fields):
        self.log.write("\t".join(str(f) for f in fields) + "\n")
        self.log.flush()


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    with open(sys.argv[1], "a", encoding="utf-8") as log:
        keep = (dbus.service.BusName(NAME, bus, do_not_queue=True), ScreenSaver(bus, log))
        print("ready", flush=True)
        GLib.MainLoop().run()
        del keep


if __name__ == "__main__":
    main()
