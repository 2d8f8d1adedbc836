#pragma once

#include "desktop/bell.h"
#include "form/error_report.h"
#include "desktop/tick_source.h"
#include "form/timer_form.h"


namespace timer::form {

// The real things the window runs on: the boot clock, the system's wake-up
// timer, the desktop's end-of-count alert and the message-box error report.
struct DesktopServices {
    desktop::BootClock clock;
    desktop::DesktopBell bell{{desktop::installedBellPlayer()}};
    MessageBoxReport errorReport;

    Services services() { return {clock, desktop::systemWakeTimers(clock), bell, errorReport}; }
};

} // namespace timer::form
