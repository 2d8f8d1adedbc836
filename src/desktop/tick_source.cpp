#include "desktop/tick_source.h"

#include <algorithm>

namespace timer::desktop {

using std::chrono::nanoseconds;

TickSource::TickSource(const Clock& clock, const WakeTimerFactory& wakeTimers)
    : clock_(clock)
    , wakeTimer_(wakeTimers([this] { wake(); }))
{
}

void TickSource::setEnabled(bool enabled)
{
    const bool changed = enabled != enabled_;
    enabled_ = enabled;
    if (enabled) {
        start_ = clock_.now();
        nextTick_ = 1;
        wakeTimer_->wakeAt(deadline(nextTick_));
    } else {
        wakeTimer_->cancel();
    }
    if (changed) {
        emit enabledChanged(enabled);
    }
}

void TickSource::wake()
{
    if (!enabled_) {
        return;
    }
    if (clock_.now() < deadline(nextTick_)) {
        wakeTimer_->wakeAt(deadline(nextTick_));
        return;
    }
    ++nextTick_;
    // Armed before the tick runs: a tick still overdue comes as its own event,
    // and a handler that switches the source off or on replaces this request.
    wakeTimer_->wakeAt(deadline(nextTick_));
    emit tick();
}

} // namespace timer::desktop
