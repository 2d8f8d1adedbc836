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
    desktop::TickSource& tickSource() { return ticks_; }

signals:
    // The count has reached zero: the handlers' beep, before every field
    // goes back to "00".
    void countEnded();
    // The tick source was switched on or off.
    void runningChanged(bool running);

private:
    void run(void (*handler)(platform::FormsRuntime&));

    ErrorReport& errorReport_;
    TimerWindow window_;
    desktop::TickSource ticks_;
    WidgetRuntime runtime_;
    bool reporting_ = false;
};

} // namespace timer::form
