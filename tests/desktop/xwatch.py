#!/usr/bin/python3
"""Logs the life of every top-level window of the X display, one line per event, at once:
    create|name|map|unmap|destroy <window id> <name>
so that the desktop test can wait for a window that comes and goes faster than a poll."""
import sys

from Xlib import X, Xatom, display, error

d = display.Display()
d.set_error_handler(lambda *args: None)  # a window gone before its events are read is no error
root = d.screen().root
NET_WM_NAME = d.intern_atom("_NET_WM_NAME")
UTF8 = d.intern_atom("UTF8_STRING")
names = {}


def name_of(window):
    try:
        prop = window.get_full_property(NET_WM_NAME, UTF8)
        if prop is not None:
            return prop.value.decode("utf-8", "replace")
        prop = window.get_full_property(Xatom.WM_NAME, X.AnyPropertyType)
        return prop.value.decode("latin-1") if prop is not None else ""
    except error.XError:
        return names.get(window.id, "")


def log(kind, window_id):
    print(kind, hex(window_id), names.get(window_id, ""), flush=True)


def watch(window):
    # Events from here on; what happened before (a busy machine reads CreateNotify late) is read
    # from the window itself, after the selection, so nothing falls between the two.
    try:
        window.change_attributes(event_mask=X.StructureNotifyMask | X.PropertyChangeMask)
        names[window.id] = name_of(window)
        log("create", window.id)
        if window.get_attributes().map_state != X.IsUnmapped:
            log("map", window.id)
    except error.XError:
        pass


root.change_attributes(event_mask=X.SubstructureNotifyMask)
d.sync()
print("ready", hex(root.id), flush=True)
while True:
    event = d.next_event()
    if event.type == X.CreateNotify and event.parent == root:
        watch(event.window)
    elif event.type == X.PropertyNotify and event.atom in (NET_WM_NAME, Xatom.WM_NAME):
        names[event.window.id] = name_of(event.window)
        log("name", event.window.id)
    elif event.type == X.MapNotify and event.window.id in names:
        log("map", event.window.id)
    elif event.type == X.UnmapNotify and event.window.id in names:
        log("unmap", event.window.id)
    elif event.type == X.DestroyNotify and event.window.id in names:
        log("destroy", event.window.id)
