#pragma once

namespace timer::form {
class TimerForm;
class TimerWindow;
}

namespace timer::accessibility {

// Puts this program's accessibility interfaces in place of Qt's own for the
// window, the entry boxes and the error report's icon. Qt keeps the first
// interface it makes for a widget, so this runs before the window's first
// widget is made; running it again changes nothing.
void installAccessibility();

// Tells screen readers what the form's window shows beyond its widgets: each
// box is named by the heading above it, Pause/Continue describes whether the
// count runs, and the display's time changes for them to read on request
// (none announces it).
void follow(form::TimerForm& form);

// Says at once that a count has ended: on Qt 6.8 an announcement, on Qt 6.4
// a notification that shows, which screen readers speak.
void announceCountEnded(form::TimerWindow& window);

} // namespace timer::accessibility
