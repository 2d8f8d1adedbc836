#!/usr/bin/python3
"""Opens the timer on a virtual display of its own with its accessibility
bridge on, and deals with it over AT-SPI as a screen reader does:
- the window is a frame titled "Timer", the display a status bar named by
  the time, told of each change;
- an entry box answers at once, and whole, for the word and the sentence at
  the end of its text and for its text's attribute run;
- the end of a count is said (an announcement, or on Qt 6.4 a notification
  that shows).
Run on a private session bus: dbus-run-session -- check_accessibility.py TIMER"""
import os
import select
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

LIMIT = 20  # seconds for anything awaited to come
END_TEXT = "הספירה לאחור הסתיימה."


def open_display():
    """An Xvfb on the first free display number, and that number."""
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-screen", "0", "640x480x24"],
                              pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    ready, _, _ = select.select([read], [], [], LIMIT)
    number = os.read(read, 16).decode().strip() if ready else ""
    if not number:
        server.kill()
        sys.exit("Xvfb did not start")
    return server, ":" + number


def find_window(title):
    deadline = time.monotonic() + LIMIT
    while time.monotonic() < deadline:
        for application in pyatspi.Registry.getDesktop(0):
            for window in application or []:
                if window is not None and window.name == title:
                    return window
        time.sleep(0.1)
    sys.exit(f"no window titled {title!r} over AT-SPI within {LIMIT} s")


def child(parent, role, name):
    return next(c for c in parent if c.getRole() == role and c.name == name)


def press(button):
    actions = button.queryAction()
    actions.doAction(next(i for i in range(actions.nActions) if actions.getName(i).lower() == "press"))


class Heard:
    """The events a screen reader listens for. Listening starts before the
    timer does, so that it sends them from the start."""

    def __init__(self):
        self.events = []
        pyatspi.Registry.registerEventListener(self.events.append, "object:property-change:accessible-name",
                                               "object:state-changed:showing", "object:announcement")
        GLib.timeout_add(100, lambda: True)  # wakes the loop below now and then

    def wait_for(self, matches):
        deadline = time.monotonic() + LIMIT
        while not any(map(matches, self.events)) and time.monotonic() < deadline:
            GLib.MainContext.default().iteration(True)
        return any(map(matches, self.events))


def time_left_renamed(event):
    return event.type.startswith("object:property-change:accessible-name") \
        and event.source.getRole() == pyatspi.ROLE_STATUS_BAR


def end_said(event):
    if event.type.startswith("object:announcement"):
        return event.any_data == END_TEXT
    return event.type.startswith("object:state-changed:showing") and event.detail1 == 1 \
        and event.source.getRole() == pyatspi.ROLE_NOTIFICATION and event.source.name == END_TEXT


def main():
    heard = Heard()
    server, display = open_display()
    runtime = tempfile.TemporaryDirectory()
    environment = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       XDG_RUNTIME_DIR=runtime.name)
    timer = subprocess.Popen([sys.argv[1]], env=environment)
    failures = []

    def expect(what, actual, wanted):
        if actual != wanted:
            failures.append(f"{what}: {actual!r}, not {wanted!r}")

    try:
        window = find_window("Timer")
        expect("the window's role", window.getRoleName(), "frame")
        child(window, pyatspi.ROLE_STATUS_BAR, "00:00:00")
        box = child(window, pyatspi.ROLE_TEXT, "שעות").queryText()
        # Qt's own interface spins for ever on these; a reply that does not
        # come fails the call after pyatspi's time limit.
        for boundary in (pyatspi.TEXT_BOUNDARY_WORD_START, pyatspi.TEXT_BOUNDARY_SENTENCE_START):
            expect(f"the text at the end, by {boundary}", tuple(box.getTextAtOffset(2, boundary)), ("00", 0, 2))
        expect("the attribute run", tuple(box.getAttributeRun(0, False)[1:]), (0, 2))
        # A one-second count, its seconds set as a screen reader's user sets
        # a box's text: Start shows it, and it ends at its first tick.
        child(window, pyatspi.ROLE_TEXT, "שניות").queryEditableText().setTextContents("123")
        expect("the seconds set, two characters at the most", child(window, pyatspi.ROLE_TEXT, "שניות").queryText().getText(0, -1), "12")
        child(window, pyatspi.ROLE_TEXT, "שניות").queryEditableText().setTextContents("1")
        press(child(window, pyatspi.ROLE_PUSH_BUTTON, "התחל"))
        expect("the status bar told of a new time", heard.wait_for(time_left_renamed), True)
        expect("the end said", heard.wait_for(end_said), True)
    finally:
        timer.kill()
        timer.wait()
        server.kill()
        server.wait()
        runtime.cleanup()
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
