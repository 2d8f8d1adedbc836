#!/usr/bin/python3
"""Waits for a top-level window with the given title on $DISPLAY and asks it
to close, as a window manager's close button does (WM_DELETE_WINDOW).
Exits 1 when no such window shows within the time limit."""
import sys
import time

from Xlib import X, display, protocol


def find(screen_root, title):
    # Qt names its hidden 1x1 client-leader window after the program too:
    # only a window on screen is the one to close.
    for window in screen_root.query_tree().children:
        if window.get_wm_name() == title and window.get_attributes().map_state == X.IsViewable:
            return window
        found = find(window, title)
        if found is not None:
            return found
    return None


def main():
    title, limit = sys.argv[1], float(sys.argv[2]) if len(sys.argv) > 2 else 10
    connection = display.Display()
    deadline = time.monotonic() + limit
    while (window := find(connection.screen().root, title)) is None and time.monotonic() < deadline:
        time.sleep(0.1)
    if window is None:
        print(f"no window titled {title!r} within {limit} s")
        return 1
    protocols = connection.intern_atom("WM_PROTOCOLS")
    delete = connection.intern_atom("WM_DELETE_WINDOW")
    message = protocol.event.ClientMessage(window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(message)
    connection.flush()
    print(f"asked the window {title!r} to close")
    return 0


if __name__ == "__main__":
    sys.exit(main())
