#pragma once

#include "desktop/tick_source.h"

#include <QTimer>

#include <ctime>

namespace timer::desktop {

// CLOCK_BOOTTIME on Linux, std::chrono::steady_clock elsewhere.
class BootClock final : public Clock {
public:
    std::chrono::nanoseconds now() const override;
};

// A QTimer armed for the time left until the deadline, in whole milliseconds.
class QtWakeTimer final : public WakeTimer {
public:
    QtWakeTimer(const Clock& clock, std::function<void()> onWake);
    void wakeAt(std::chrono::nanoseconds deadline) override;
    void cancel() override;

private:
    const Clock& clock_;
    QTimer timer_;
};

// The wake-up call that suits this system: on Linux a timerfd on
// CLOCK_BOOTTIME with an absolute deadline, exact to the nanosecond and due
// at once after a suspend that outlasted it, with a QtWakeTimer to fall back
// on should the kernel refuse a deadline; elsewhere a QtWakeTimer.
std::unique_ptr<WakeTimer> makeSystemWakeTimer(const Clock& clock, std::function<void()> onWake);

// makeSystemWakeTimer on `clock`, which must outlive what it makes.
WakeTimerFactory systemWakeTimers(const Clock& clock);

#ifdef __linux__
// How a timerfd is armed: timerfd_settime, or a stand-in that refuses a
// deadline as the kernel may.
using TimerfdSetTime = std::function<int(int fd, int flags, const itimerspec* value, itimerspec* old)>;

// The timerfd wake-up call of makeSystemWakeTimer, armed through `setTime`;
// null when the kernel gives no timerfd.
std::unique_ptr<WakeTimer> makeTimerfdWakeTimer(const Clock& clock, const std::function<void()>& onWake,
                                                TimerfdSetTime setTime);
#endif

} // namespace timer::desktop
