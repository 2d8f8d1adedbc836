#pragma once

#include "desktop/desktop_bell.h"
#include "desktop/system_timer.h"
#include "form/error_report.h"
#include "form/timer_form.h"

namespace timer::app {

// The real things the window runs on: the boot clock, the system's wake-up
// timer, the desktop's end-of-count alert and the message-box error report.
struct DesktopServices {
    desktop::BootClock clock;
    desktop::DesktopBell bell{{desktop::installedSoundHelper()}};
    form::MessageBoxReport errorReport;

    form::Services services() { return {clock, desktop::systemWakeTimers(clock), bell, errorReport}; }
};

} // namespace timer::app
