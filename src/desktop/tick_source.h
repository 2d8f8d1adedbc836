#pragma once

#include <QObject>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace timer::desktop {

// A clock that keeps counting while the machine sleeps.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::nanoseconds now() const = 0;

protected:
    Clock() = default;
    Clock(const Clock&) = default;
    Clock& operator=(const Clock&) = default;
};

// A one-shot wake-up call from the event loop at a deadline on the boot clock.
// What it calls when it wakes is fixed when it is made.
class WakeTimer {
public:
    virtual ~WakeTimer() = default;
    WakeTimer(const WakeTimer&) = delete;
    WakeTimer& operator=(const WakeTimer&) = delete;

    // Replaces any earlier request. A deadline already past wakes on the
    // loop's next turn, after the events already waiting, never at once.
    virtual void wakeAt(std::chrono::nanoseconds deadline) = 0;
    virtual void cancel() = 0;

protected:
    explicit WakeTimer(std::function<void()> onWake)
        : onWake_(std::move(onWake))
    {
    }
    void woke() const { onWake_(); }

private:
    std::function<void()> onWake_;
};

// Makes the wake-up call a tick source runs on, given what it is to call.
using WakeTimerFactory = std::function<std::unique_ptr<WakeTimer>(std::function<void()> onWake)>;

// The tick source of the window. Ticks fall on fixed deadlines t0 + k periods,
// where t0 is the last time it was switched on, so a late tick never pushes
// the next one later. Ticks that fell due while the loop was busy or the
// machine slept come afterwards one by one, each as its own event.
class TickSource final : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kInterval{1000};

    TickSource(const Clock& clock, const WakeTimerFactory& wakeTimers);

    bool isEnabled() const { return enabled_; }
    // Switching on starts the period afresh, also when already on; switching
    // off drops every tick not yet delivered.
    void setEnabled(bool enabled);

signals:
    void tick();
    // Only on a change: switching on again restarts the period silently.
    void enabledChanged(bool enabled);

private:
    void wake();
    std::chrono::nanoseconds deadline(std::int64_t tick) const { return start_ + tick * kInterval; }

    const Clock& clock_;
    std::unique_ptr<WakeTimer> wakeTimer_;
    bool enabled_ = false;
    std::chrono::nanoseconds start_{0};
    std::int64_t nextTick_ = 1;
};

} // namespace timer::desktop
