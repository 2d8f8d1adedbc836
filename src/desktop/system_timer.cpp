#include "desktop/system_timer.h"

#include <QSocketNotifier>

#include <algorithm>

#ifdef __linux__
#include "desktop/file_descriptor.h"

#include <sys/timerfd.h>
#endif

namespace timer::desktop {

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

QtWakeTimer::QtWakeTimer(const Clock& clock, std::function<void()> onWake)
    : WakeTimer(std::move(onWake))
    , clock_(clock)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { woke(); });
}

void QtWakeTimer::wakeAt(nanoseconds deadline)
{
    // Rounded up: an early wake-up only costs a re-arm.
    const auto delay = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock_.now());
    timer_.start(std::max(delay, std::chrono::milliseconds(0)));
}

void QtWakeTimer::cancel() { timer_.stop(); }

#ifdef __linux__

namespace {

class TimerfdWakeTimer final : public WakeTimer {
public:
    TimerfdWakeTimer(FileDescriptor fd, const Clock& clock, const std::function<void()>& onWake,
                     TimerfdSetTime setTime)
        : WakeTimer(onWake)
        , fd_(std::move(fd))
        , setTime_(std::move(setTime))
        , notifier_(fd_.get(), QSocketNotifier::Read)
        , fallback_(clock, onWake)
    {
        QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_, [this] {
            std::uint64_t expirations = 0;
            // Nothing to read when a new deadline replaced the one that fired.
            if (read(fd_.get(), &expirations, sizeof expirations) == sizeof expirations) {
                woke();
            }
        });
    }

    void wakeAt(nanoseconds deadline) override
    {
        // A zero time would disarm the timer; any past time fires at once.
        const nanoseconds armed = std::max(deadline, nanoseconds(1));
        itimerspec when{};
        when.it_value.tv_sec = static_cast<time_t>(armed.count() / 1'000'000'000);
        when.it_value.tv_nsec = static_cast<long>(armed.count() % 1'000'000'000);
        // A deadline the kernel refuses must not stop the count; one it
        // takes replaces whatever the fallback was holding.
        if (setTime_(fd_.get(), TFD_TIMER_ABSTIME, &when, nullptr) != 0) {
            fallback_.wakeAt(deadline);
        } else {
            fallback_.cancel();
        }
    }

    void cancel() override
    {
        const itimerspec disarmed{};
        setTime_(fd_.get(), 0, &disarmed, nullptr);
        fallback_.cancel();
    }

private:
    FileDescriptor fd_; // first, so that it is closed once nothing watches it
    TimerfdSetTime setTime_;
    QSocketNotifier notifier_;
    QtWakeTimer fallback_;
};

} // namespace

std::unique_ptr<WakeTimer> makeTimerfdWakeTimer(const Clock& clock, const std::function<void()>& onWake,
                                                TimerfdSetTime setTime)
{
    FileDescriptor fd(timerfd_create(CLOCK_BOOTTIME, TFD_NONBLOCK | TFD_CLOEXEC));
    if (!fd.valid()) {
        return nullptr;
    }
    return std::make_unique<TimerfdWakeTimer>(std::move(fd), clock, onWake, std::move(setTime));
}

std::unique_ptr<WakeTimer> makeSystemWakeTimer(const Clock& clock, std::function<void()> onWake)
{
    if (auto timerfd = makeTimerfdWakeTimer(clock, onWake, timerfd_settime)) {
        return timerfd;
    }
    return std::make_unique<QtWakeTimer>(clock, std::move(onWake));
}

#else

std::unique_ptr<WakeTimer> makeSystemWakeTimer(const Clock& clock, std::function<void()> onWake)
{
    return std::make_unique<QtWakeTimer>(clock, std::move(onWake));
}

#endif

WakeTimerFactory systemWakeTimers(const Clock& clock)
{
    return [&clock](std::function<void()> onWake) { return makeSystemWakeTimer(clock, std::move(onWake)); };
}

} // namespace timer::desktop
