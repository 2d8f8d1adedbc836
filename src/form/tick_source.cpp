#include "form/tick_source.h"

#include <algorithm>
#include <ctime>

namespace timer::form {

using std::chrono::nanoseconds;

nanoseconds BootClock::now() const
{
#ifdef CLOCK_BOOTTIME
    timespec time{};
    clock_gettime(CLOCK_BOOTTIME, &time);
    return std::chrono::seconds(time.tv_sec) + nanoseconds(time.tv_nsec);
#else
    return std::chrono::steady_clock::now().time_since_epoch();
#endif
}

QtWakeTimer::QtWakeTimer()
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (onWake) {
            onWake();
        }
    });
}

void QtWakeTimer::wakeAfter(nanoseconds delay)
{
    // Whole milliseconds, rounded up: an early wake-up only costs a re-arm.
    const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(delay);
    timer_.start(std::max(milliseconds, std::chrono::milliseconds(0)));
}

void QtWakeTimer::cancel() { timer_.stop(); }

TickSource::TickSource(const Clock& clock, WakeTimer& wakeTimer)
    : clock_(clock)
    , wakeTimer_(wakeTimer)
{
    wakeTimer_.onWake = [this] { wake(); };
}

void TickSource::setEnabled(bool enabled)
{
    enabled_ = enabled;
    if (!enabled) {
        wakeTimer_.cancel();
        return;
    }
    start_ = clock_.now();
    nextTick_ = 1;
    wakeTimer_.wakeAfter(kInterval);
}

void TickSource::wake()
{
    if (!enabled_) {
        return;
    }
    const nanoseconds now = clock_.now();
    if (now < deadline(nextTick_)) {
        wakeTimer_.wakeAfter(deadline(nextTick_) - now);
        return;
    }
    ++nextTick_;
    // Armed before the tick runs: a tick still overdue comes as its own event,
    // and a handler that switches the source off or on replaces this request.
    wakeTimer_.wakeAfter(std::max(deadline(nextTick_) - now, nanoseconds(0)));
    emit tick();
}

} // namespace timer::form
