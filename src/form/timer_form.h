#pragma once

#include "desktop/tick_source.h"
#include "form/timer_window.h"
#include "form/widget_runtime.h"

#include <QObject>

namespace timer::form {

class ErrorReport;

// What the window needs from outside: time and the error report.
struct Services {
    const desktop::Clock& clock;
    desktop::WakeTimerFactory wakeTimers;
    ErrorReport& errorReport;
};

// The form Timer: the window with its tick source and its four event
// connections, the three buttons' clicks and the tick, each running its
// handler under one error policy. An error switches the tick source off and
// is reported; once the report is read, the focus goes where the report sends
// the user (the box whose text was rejected, or Start). The program goes on.
// Whatever tells the user more than the window shows (the desktop's alert,
// a screen reader) follows the count's events here.
class TimerForm final : public QObject {
    Q_OBJECT

public:
    explicit TimerForm(const Services& services);

    TimerWindow& window() { return window_; }
    // Whether the count runs: its tick source is on.
    bool running() const { return ticks_.isEnabled(); }

signals:
    // The count has reached zero: the handlers' beep, before every field
    // goes back to "00".
    void countEnded();
    // The count was switched on or off, by any handler.
    void runningChanged(bool running);
    // A button's press switched the count on or off, and its handler ended
    // normally.
    void pressSwitched(bool running);

private:
    using Handler = void (*)(platform::FormsRuntime&);

    void press(Handler handler);
    // Runs `handler` under the error policy; false where it did not end
    // normally.
    bool run(Handler handler);

    ErrorReport& errorReport_;
    TimerWindow window_;
    desktop::TickSource ticks_;
    WidgetRuntime runtime_;
    bool reporting_ = false;
};

} // namespace timer::form
