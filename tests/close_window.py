#!/usr/bin/python3
"""Waits for a top-level window with the given title on $DISPLAY and asks it
to close, as a window manager's close button does (WM_DELETE_WINDOW), or
pings it, as a window manager does, and waits for its answer
(_NET_WM_PING, the third argument). Exits 1 when no such window shows, or
no answer comes, within the time limit."""
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
    asked = sys.argv[3] if len(sys.argv) > 3 else "WM_DELETE_WINDOW"
    connection = display.Display()
    connection.screen().root.change_attributes(event_mask=X.StructureNotifyMask)  # where a ping's answer goes
    deadline = time.monotonic() + limit
    while (window := find(connection.screen().root, title)) is None and time.monotonic() < deadline:
        time.sleep(0.1)
    if window is None:
        print(f"no window titled {title!r} within {limit} s")
        return 1
    protocols = connection.intern_atom("WM_PROTOCOLS")
    request = connection.intern_atom(asked)
    message = protocol.event.ClientMessage(window=window, client_type=protocols,
                                           data=(32, [request, X.CurrentTime, window.id, 0, 0]))
    window.send_event(message)
    connection.flush()
    while asked == "_NET_WM_PING":
        while connection.pending_events():
            event = connection.next_event()
            if event.type == X.ClientMessage and event.data[1][0] == request:
                print(f"the window {title!r} answered the ping")
                return 0
        if time.monotonic() > deadline:
            print(f"the window {title!r} did not answer the ping within {limit} s")
            return 1
        time.sleep(0.05)
    print(f"asked the window {title!r} to close")
    return 0


if __name__ == "__main__":
    sys.exit(main())
