#pragma once

namespace timer::form {
class TimerWindow;
}

namespace timer::accessibility {

// Puts this program's accessibility interfaces in place of Qt's own for the
// window, the entry boxes and the error report's icon. Qt keeps the first
// interface it makes for a widget, so this runs before the window's first
// widget is made; running it again changes nothing.
void installAccessibility();

// Tells screen readers what changes in `window` unasked: the display's time,
// for them to read on request (none announces it), and the end of a count,
// which they say at once.
void followWindow(form::TimerWindow& window);

} // namespace timer::accessibility
