#!/usr/bin/python3
"""Opens the timer, as installed, on a virtual display of its own with its
accessibility bridge on, and deals with it over AT-SPI as a screen reader
does:
- the window is a frame titled "Timer", the display one status bar named
  by the time, shown where the display is, told of each change; Qt's own
  words are in Hebrew;
- an entry box answers at once, and whole, for its text's attribute run and
  for the word and the sentence at the end of its text, and has no
  character there nor a word before its first;
- Tab into a box tells of one change of selection, as in any Qt window;
- the end of a count is said (an announcement, or on Qt 6.4 a notification
  that shows), where the notification server is not one whose notices
  screen readers read (notification-daemon, GNOME Shell); the count's
  state is told as it starts and ends, and the window asks the window
  manager for attention where it is not the active one; the end runs the
  sound helper beside the program, with its time limit, and where the
  helper fails, the program rings the X server's bell;
- Return held on Pause/Continue (named without the caption's backslash),
  with real X key events, presses it once, and the X server sends the
  program presses alone while the key is held; a press that starts or
  stops the count is said;
- a digit selected alone in a box and dragged by the X server's pointer,
  from and to the places AT-SPI gives for the characters, moves within the
  box, and is copied into another.
Run on a private session bus: dbus-run-session -- check_accessibility.py TIMER"""
import os
import select
import subprocess
import sys
import tempfile
import threading
import time

import pyatspi
from gi.repository import Gio, GLib
from Xlib import X, XK, display as xdisplay
from Xlib.ext import record, xtest
from Xlib.protocol import rq

import close_window

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


def until(condition):
    """Whether `condition` holds within LIMIT, while this program's D-Bus
    peers are answered."""
    deadline = time.monotonic() + LIMIT
    while not condition() and time.monotonic() < deadline:
        GLib.MainContext.default().iteration(True)
    return condition()


def find_window(title):
    def window():
        return next((window for application in pyatspi.Registry.getDesktop(0) for window in application or []
                     if window is not None and window.name == title), None)
    if not until(lambda: window() is not None):
        sys.exit(f"no window titled {title!r} over AT-SPI within {LIMIT} s")
    return window()


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
                                               "object:property-change:accessible-description",
                                               "object:state-changed:showing", "object:announcement",
                                               "object:state-changed:focused", "object:text-selection-changed")
        GLib.timeout_add(100, lambda: True)  # wakes the loop of until() now and then

    def count(self, matches):
        return len(list(filter(matches, self.events)))

    def wait_for(self, matches, times):
        return until(lambda: self.count(matches) >= times)


def count_state_told(event):
    return event.type.startswith("object:property-change:accessible-description") \
        and event.source.getRole() == pyatspi.ROLE_PUSH_BUTTON


def time_left_renamed(event):
    return event.type.startswith("object:property-change:accessible-name") \
        and event.source.getRole() == pyatspi.ROLE_STATUS_BAR


def told(kind, name):
    return lambda event: event.type.startswith(kind) and event.source.name == name


def said(text):
    """An announcement of `text`, or on Qt 6.4 a notification of it that
    shows."""
    def matches(event):
        if event.type.startswith("object:announcement"):
            return event.any_data == text
        return event.type.startswith("object:state-changed:showing") and event.detail1 == 1 \
            and event.source.getRole() == pyatspi.ROLE_NOTIFICATION and event.source.name == text
    return matches


end_said = said(END_TEXT)


BELL = 104  # the core protocol's request that rings the bell


class Recorded:
    """What the X server delivers to its clients or is asked by them, of the
    kinds `ranges` names (the key events it delivers: the timer's are the
    only ones), as (type, key code) or (request, 0), recorded on a
    connection of its own (the RECORD extension)."""

    def __init__(self, name, **ranges):
        self.events = []
        self.connection, self.other = xdisplay.Display(name), xdisplay.Display(name)
        self.context = self.connection.record_create_context(0, [record.AllClients], [{
            "core_requests": (0, 0), "core_replies": (0, 0), "ext_requests": (0, 0, 0, 0),
            "ext_replies": (0, 0, 0, 0), "delivered_events": (0, 0), "device_events": (0, 0),
            "errors": (0, 0), "client_started": False, "client_died": False, **ranges}])
        self.started = threading.Event()
        self.thread = threading.Thread(target=self.connection.record_enable_context, args=(self.context, self.got),
                                       daemon=True)
        self.thread.start()
        self.started.wait(LIMIT)

    def got(self, reply):
        self.started.set()
        if reply.category == record.FromClient:
            self.events.append((reply.data[0], 0))
        data = reply.data if reply.category == record.FromServer else b""
        while data:
            event, data = rq.EventField(None).parse_binary_value(data, self.connection.display, None, None)
            self.events.append((event.type, event.detail))

    def wait_for(self, event, times):
        # The server hands on what it recorded only as it sends some client
        # something, and a bell sends nobody anything: a round trip on a
        # second connection makes it send.
        def seen():
            self.other.sync()
            return self.events.count(event) >= times
        return until(seen)

    def stop(self):
        self.other.record_disable_context(self.context)
        self.other.sync()  # a request still unread when its client leaves is dropped
        self.other.close()
        self.thread.join(LIMIT)


class Notifications:
    """The desktop's notification server, under the name `name` gives."""

    INTERFACE = """<node><interface name="org.freedesktop.Notifications">
      <method name="Notify"><arg type="s"/><arg type="u"/><arg type="s"/><arg type="s"/><arg type="s"/>
        <arg type="as"/><arg type="a{sv}"/><arg type="i"/><arg type="u" direction="out"/></method>
      <method name="CloseNotification"><arg type="u"/></method>
      <method name="GetServerInformation"><arg type="s" direction="out"/><arg type="s" direction="out"/>
        <arg type="s" direction="out"/><arg type="s" direction="out"/></method>
    </interface></node>"""

    def __init__(self):
        self.name = "dunst"
        self.asked = []  # who asked for the server's name
        self.bus = bus = Gio.bus_get_sync(Gio.BusType.SESSION)  # the name goes with the last reference
        bus.register_object("/org/freedesktop/Notifications", Gio.DBusNodeInfo.new_for_xml(self.INTERFACE).interfaces[0],
                            self.called)
        bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
                      GLib.Variant("(su)", ("org.freedesktop.Notifications", 4)), None, Gio.DBusCallFlags.NONE, -1)

    def called(self, _bus, sender, _path, _interface, method, _arguments, invocation):
        answers = {"Notify": ("(u)", (1,)), "GetServerInformation": ("(ssss)", (self.name, "", "", "1.2"))}
        answer = answers.get(method)
        invocation.return_value(GLib.Variant(*answer) if answer else None)
        if method == "GetServerInformation":
            self.asked.append(sender)

    def answered(self, times):
        """Waits until the server has told its name `times` times, and the
        one who asked has read the answer (it answers a ping after)."""
        if until(lambda: len(self.asked) >= times):
            self.bus.call_sync(self.asked[-1], "/", "org.freedesktop.DBus.Peer", "Ping", None, None,
                               Gio.DBusCallFlags.NONE, LIMIT * 1000)


def attention_asked(watcher):
    """Whether the window manager was asked for attention by a message to the
    root window, soon after a count ended out of the user's sight."""
    state, attention = watcher.intern_atom("_NET_WM_STATE"), watcher.intern_atom("_NET_WM_STATE_DEMANDS_ATTENTION")
    deadline = time.monotonic() + 2  # what a program sends as its count ends comes at once
    while time.monotonic() < deadline:
        while watcher.pending_events():
            event = watcher.next_event()
            if event.type == X.ClientMessage and event.client_type == state and attention in event.data[1][1:3]:
                return True
        GLib.MainContext.default().iteration(False)  # the notification server answers meanwhile
        time.sleep(0.01)
    return False


def hold_return(window, heard, display, expect):
    """Return held on the focused Pause/Continue until the server has
    repeated it, then Tab: the focus moving on says every key before it
    has been handled."""
    child(window, pyatspi.ROLE_TEXT, "שעות").queryEditableText().setTextContents("1")
    told = heard.count(count_state_told) + 1
    runs, stops = said("הספירה פועלת"), said("הספירה עצורה")
    said_before = [heard.count(runs), heard.count(stops)]
    press(child(window, pyatspi.ROLE_PUSH_BUTTON, "התחל"))
    heard.wait_for(count_state_told, told)
    expect("Start's press said", (heard.wait_for(runs, said_before[0] + 1), heard.count(stops)), (True, said_before[1]))
    child(window, pyatspi.ROLE_PUSH_BUTTON, "הפסק או המשך").queryComponent().grabFocus()
    keyboard = xdisplay.Display(display)
    close_window.find(keyboard.screen().root, "Timer").set_input_focus(X.RevertToParent, X.CurrentTime)
    keys = Recorded(display, delivered_events=(X.KeyPress, X.KeyRelease))
    enter, tab = (keyboard.keysym_to_keycode(XK.string_to_keysym(name)) for name in ("Return", "Tab"))
    xtest.fake_input(keyboard, X.KeyPress, enter)
    keyboard.sync()
    keys.wait_for((X.KeyPress, enter), 2)
    expect("key releases sent while Return is held", keys.events.count((X.KeyRelease, enter)), 0)
    for event, code in ((X.KeyRelease, enter), (X.KeyPress, tab), (X.KeyRelease, tab)):
        xtest.fake_input(keyboard, event, code)
    keyboard.sync()
    heard.wait_for(lambda event: event.type.startswith("object:state-changed:focused") and event.detail1 == 1
                   and event.source.name == "אפס", 1)
    expect("Pause/Continue's presses by the held Return", heard.count(count_state_told) - told, 1)
    expect("Pause/Continue's press said", [heard.count(runs), heard.count(stops)], [said_before[0] + 1, said_before[1] + 1])
    keys.stop()
    keyboard.close()


def drag(display, start, end):
    """The X server's pointer pressed at `start`, moved down far enough to
    begin a drag within the box, over to `end` and released there, a step
    at a time, as a hand moves."""
    pointer = xdisplay.Display(display)
    (x, y), (to_x, to_y) = start, end
    for event, at in ((X.MotionNotify, (x, y)), (X.ButtonPress, None), (X.MotionNotify, (x, y + 11)),
                      (X.MotionNotify, (to_x, to_y + 11)), (X.MotionNotify, (to_x, to_y)), (X.ButtonRelease, None)):
        if at:
            xtest.fake_input(pointer, event, x=at[0], y=at[1])
        else:
            xtest.fake_input(pointer, event, 1)
        pointer.sync()
        time.sleep(0.05)
    pointer.close()


def drags_from_a_box(window, display, expect):
    """The "1" of "12", selected alone, dragged behind the "2" (pressed in its
    middle, dropped three quarters into the "2", where the nearest place
    between characters is the end) moves; dragged on to the minutes, it is
    copied."""
    box = child(window, pyatspi.ROLE_TEXT, "שניות")
    box.queryComponent().grabFocus()
    box.queryEditableText().setTextContents("12")
    text = box.queryText()
    text.setSelection(0, 0, 1)
    first, second = (text.getCharacterExtents(offset, pyatspi.DESKTOP_COORDS) for offset in (0, 1))
    y = first[1] + first[3] // 2
    drag(display, (first[0] + first[2] // 2, y), (second[0] + 3 * second[2] // 4, y))
    expect("the dragged digit moved behind the other",
           until(lambda: text.getText(0, -1) == "21") and tuple(text.getSelection(0)), (1, 2))
    minutes = child(window, pyatspi.ROLE_TEXT, "דקות")
    area = minutes.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    moved = text.getCharacterExtents(1, pyatspi.DESKTOP_COORDS)
    drag(display, (moved[0] + moved[2] // 2, y), (area.x + area.width // 2, y))
    minutes = minutes.queryText()
    expect("the digit dragged to the minutes, and the seconds",
           (until(lambda: minutes.getText(0, -1) == "1") and minutes.getText(0, -1), text.getText(0, -1)), ("1", "21"))


def main():
    server, display = open_display()
    # The registry, started with the first listener, presses keys on it.
    Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "UpdateActivationEnvironment",
        GLib.Variant("(a{ss})", ({"DISPLAY": display},)), None, Gio.DBusCallFlags.NONE, -1)
    heard = Heard()
    notifications = Notifications()
    runtime = tempfile.TemporaryDirectory()
    environment = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       XDG_RUNTIME_DIR=runtime.name)
    # The program as installed, with a sound helper that says how it was
    # run and fails, so that the beep sounds in place of the sound.
    installed = tempfile.TemporaryDirectory(dir=os.path.dirname(sys.argv[1]))
    program, helper = (os.path.join(installed.name, *path) for path in (("bin", "timer"), ("libexec", "timer", "sound-helper")))
    for made in (program, helper):
        os.makedirs(os.path.dirname(made))
    os.link(sys.argv[1], program)
    with open(helper, "w", encoding="utf-8") as script:
        script.write('#!/bin/sh\necho "$1" >"$0.part" && mv "$0.part" "$0.run"\nexit 1\n')
    os.chmod(helper, 0o755)
    timer = subprocess.Popen([program], env=environment)
    failures = []

    def expect(what, actual, wanted):
        if actual != wanted:
            failures.append(f"{what}: {actual!r}, not {wanted!r}")

    try:
        window = find_window("Timer")
        expect("the window's role", window.getRoleName(), "frame")
        expect("Qt's own words, in Hebrew", child(window, pyatspi.ROLE_PUSH_BUTTON, "התחל").queryAction().getDescription(0),
               "מתניע את הפעולה")
        expect("the status bars", [part.getRole() for part in window].count(pyatspi.ROLE_STATUS_BAR), 1)
        time_left = child(window, pyatspi.ROLE_STATUS_BAR, "00:00:00")
        expect("the status bar's description", time_left.description, "")
        expect("the status bar showing", time_left.getState().contains(pyatspi.STATE_SHOWING), True)
        area = time_left.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        expect("the status bar's area", area.width > 0 and area.height > 0, True)
        box = child(window, pyatspi.ROLE_TEXT, "שעות").queryText()
        expect("the attribute run", tuple(box.getAttributeRun(0, False)[1:]), (0, 2))
        # Qt's own interface, which gets the run wrong, spins for ever on
        # the rest: a reply that does not come fails the call only after
        # pyatspi's time limit.
        if not failures:
            for boundary in (pyatspi.TEXT_BOUNDARY_WORD_START, pyatspi.TEXT_BOUNDARY_SENTENCE_START):
                expect(f"the text at the end, by {boundary}", tuple(box.getTextAtOffset(2, boundary)), ("00", 0, 2))
            expect("the character at the end", tuple(box.getTextAtOffset(2, pyatspi.TEXT_BOUNDARY_CHAR)), ("", 2, 2))
            expect("the word before the first", tuple(box.getTextBeforeOffset(0, pyatspi.TEXT_BOUNDARY_WORD_START)),
                   ("", 0, 0))
        # A click activates the window; Tab goes past Start to the minutes.
        # Qt tells of the selection before the focus.
        pyatspi.Registry.generateMouseEvent(area.x + area.width // 2, area.y + area.height // 2, pyatspi.MOUSE_B1C)
        heard.wait_for(told("object:state-changed:focused", "שעות"), 1)
        for _ in range(2):
            pyatspi.Registry.generateKeyboardEvent(0xff09, None, pyatspi.KEY_SYM)  # Tab
        expect("the minutes focused by Tab", heard.wait_for(told("object:state-changed:focused", "דקות"), 1), True)
        expect("the selection changes Tab into the minutes tells",
               heard.count(told("object:text-selection-changed", "דקות")), 1)
        # A one-second count, its seconds set as a screen reader's user sets
        # a box's text: Start shows it, and it ends at its first tick, while
        # no window has the focus.
        watcher = xdisplay.Display(display)
        watcher.screen().root.change_attributes(event_mask=X.StructureNotifyMask)
        watcher.set_input_focus(X.NONE, X.RevertToNone, X.CurrentTime)
        watcher.sync()
        expect("the window no longer active", until(lambda: not window.getState().contains(pyatspi.STATE_ACTIVE)),
               True)
        child(window, pyatspi.ROLE_TEXT, "שניות").queryEditableText().setTextContents("123")
        expect("the seconds set, two characters at the most", child(window, pyatspi.ROLE_TEXT, "שניות").queryText().getText(0, -1), "12")
        child(window, pyatspi.ROLE_TEXT, "שניות").queryEditableText().setTextContents("1")
        bells = Recorded(display, core_requests=(BELL, BELL))
        press(child(window, pyatspi.ROLE_PUSH_BUTTON, "התחל"))
        # The count stops last at its end: what the end brings has been
        # sent by then, but for what waits for the notification server.
        expect("the count's state told as it starts and ends", heard.wait_for(count_state_told, 2), True)
        expect("the status bar told of the times Start and the end show", heard.count(time_left_renamed) >= 2, True)
        expect("attention asked for", attention_asked(watcher), True)
        expect("the end said", heard.wait_for(end_said, 1), True)
        expect("the sound helper run with the limit and its grace",
               until(lambda: os.path.exists(helper + ".run")) and open(helper + ".run", encoding="utf-8").read(), "6000\n")
        expect("the beep where the sound failed", bells.wait_for((BELL, 0), 1), True)
        bells.stop()
        # Twice more, where the server's notices are read aloud, also where
        # it makes a notice of the attention request (GNOME Shell): not said
        # again. Reset's renaming of the status bar comes after all the end
        # sends.
        for answers, name in enumerate(("Notification Daemon", "gnome-shell"), start=2):
            notifications.name = name
            child(window, pyatspi.ROLE_TEXT, "שניות").queryEditableText().setTextContents("1")
            press(child(window, pyatspi.ROLE_PUSH_BUTTON, "התחל"))
            notifications.answered(answers)
            renamed = heard.count(time_left_renamed) + 1
            press(child(window, pyatspi.ROLE_PUSH_BUTTON, "אפס"))
            heard.wait_for(time_left_renamed, renamed)
        expect("the end said, over three ends", heard.count(end_said), 1)
        watcher.close()
        hold_return(window, heard, display, expect)
        drags_from_a_box(window, display, expect)
    finally:
        timer.kill()
        timer.wait()
        server.kill()
        server.wait()
        runtime.cleanup()
        installed.cleanup()
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
