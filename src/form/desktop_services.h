#pragma once

#include "form/bell.h"
#include "form/error_report.h"
#include "form/tick_source.h"
#include "form/timer_form.h"


namespace timer::form {

// The real things the window runs on: the boot clock, the system's wake-up
// timer, the desktop's end-of-count alert and the message-box error report.
struct DesktopServices {
    BootClock clock;
    DesktopBell bell{installedBellPlayer()};
    MessageBoxReport errorReport;

    Services services() { return {clock, systemWakeTimers(clock), bell, errorReport}; }
};

} // namespace timer::form
