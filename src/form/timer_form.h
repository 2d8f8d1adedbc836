#pragma once

#include "desktop/tick_source.h"
#include "form/timer_window.h"
#include "form/widget_runtime.h"

#include <QCoreApplication>

namespace timer::desktop {
class Bell;
}

namespace timer::form {

class ErrorReport;

// What the window needs from outside: time, the alert and the error report.
struct Services {
    const desktop::Clock& clock;
    desktop::WakeTimerFactory wakeTimers;
    desktop::Bell& bell;
    ErrorReport& errorReport;
};

// The window with its tick source and its four event connections: the three
// buttons' clicks and the tick, each running its handler under one error
// policy. An error switches the tick source off and is reported; once the
// report is read, the focus goes where the report sends the user (the box
// whose text was rejected, or Start). The program goes on.
class TimerForm {
    Q_DECLARE_TR_FUNCTIONS(timer::form::TimerForm)

public:
    explicit TimerForm(const Services& services);

    TimerWindow& window() { return window_; }
    desktop::TickSource& tickSource() { return ticks_; }

private:
    void run(void (*handler)(platform::FormsRuntime&));

    ErrorReport& errorReport_;
    TimerWindow window_;
    desktop::TickSource ticks_;
    WidgetRuntime runtime_;
    bool reporting_ = false;
};

} // namespace timer::form
