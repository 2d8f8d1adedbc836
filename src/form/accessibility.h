#pragma once

class QPushButton;

namespace timer::desktop {
class TickSource;
}

namespace timer::form {

class TimerWindow;

// Puts this program's accessibility interfaces in place of Qt's own for the
// window, the entry boxes and the error report's icon. Qt keeps the first
// interface it makes for a widget, so this runs before the window's first
// widget is made; running it again changes nothing.
void installAccessibility();

// Keeps the Pause/Continue button's description, which a screen reader reads
// after its caption, saying whether the count runs.
void describeCountState(QPushButton& pause, const desktop::TickSource& ticks);

// Tells screen readers that the display has changed, for them to read on
// request: none announces it.
void displayChanged(TimerWindow& window);

// Has screen readers say at once that the count has ended.
void announceCountEnded(TimerWindow& window);

} // namespace timer::form
