#pragma once

namespace timer::form {
class TimerForm;
}

namespace timer::accessibility {

// Puts this program's accessibility interfaces in place of Qt's own for the
// window, the entry boxes and the error report's icon. Qt keeps the first
// interface it makes for a widget, so this runs before the window's first
// widget is made; running it again changes nothing.
void installAccessibility();

// Tells screen readers what the form's window shows beyond its widgets: each
// box is named by the heading above it, Pause/Continue describes whether the
// count runs, the display's time changes for them to read on request (none
// announces it), and the end of a count is said at once.
void follow(form::TimerForm& form);

} // namespace timer::accessibility
