#pragma once

#include "desktop/end_of_count_alert.h"
#include "desktop/system_timer.h"
#include "form/error_report.h"
#include "form/timer_form.h"

namespace timer::app {

// The real things the window runs on: the boot clock, the system's wake-up
// timer and the message-box error report, and the desktop's end-of-count
// alert, which follows the form (followCount).
struct DesktopServices {
    desktop::BootClock clock;
    desktop::EndOfCountAlert alert{{desktop::installedSoundHelper()}};
    form::MessageBoxReport errorReport;

    form::Services services() { return {clock, desktop::systemWakeTimers(clock), errorReport}; }
};

} // namespace timer::app
