#pragma once

#include "form/error_report.h"
#include "desktop/tick_source.h"

#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace timer::testing {

using namespace std::chrono_literals;

class ManualClock final : public desktop::Clock {
public:
    std::chrono::nanoseconds now() const override { return now_; }
    void set(std::chrono::nanoseconds time) { now_ = time; }

private:
    std::chrono::nanoseconds now_{5s}; // not zero, so no code can lean on it
};

// A wake-up call that comes only when the test says so.
class ManualWakeTimer final : public desktop::WakeTimer {
public:
    ManualWakeTimer(ManualClock& clock, std::function<void()> onWake)
        : WakeTimer(std::move(onWake))
        , clock_(clock)
    {
    }

    void wakeAt(std::chrono::nanoseconds deadline) override { due_ = deadline; }
    void cancel() override { due_.reset(); }

    std::optional<std::chrono::nanoseconds> due() const { return due_; }

    // Sets the clock to `time` and delivers the one wake-up due by then, if any.
    bool advanceTo(std::chrono::nanoseconds time)
    {
        clock_.set(time);
        if (!due_ || *due_ > time) {
            return false;
        }
        due_.reset();
        woke();
        return true;
    }

    // A wake-up that was already on its way when the request was withdrawn.
    void wakeLate() const { woke(); }

private:
    ManualClock& clock_;
    std::optional<std::chrono::nanoseconds> due_;
};

// Makes ManualWakeTimers on one clock and keeps the last one made.
struct ManualWakeTimers {
    ManualClock& clock;
    ManualWakeTimer* last = nullptr;

    desktop::WakeTimerFactory factory()
    {
        return [this](std::function<void()> onWake) {
            auto made = std::make_unique<ManualWakeTimer>(clock, std::move(onWake));
            last = made.get();
            return made;
        };
    }
};

// Records each report; the user reads it at once, unless the test keeps it
// open and dismisses it itself.
class RecordingReport final : public form::ErrorReport {
public:
    void show(QWidget& /*window*/, const QString& message, std::function<void()> read) override
    {
        messages << message;
        read_ = std::move(read);
        if (!keepOpen) {
            dismiss();
        }
    }
    void dismiss() { std::exchange(read_, {})(); }

    QStringList messages;
    bool keepOpen = false;

private:
    std::function<void()> read_;
};

} // namespace timer::testing
