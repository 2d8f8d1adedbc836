#pragma once

#include "desktop/tick_source.h"
#include "form/error_report.h"
#include "form/timer_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

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

// Shows `window` and makes it the active one.
inline bool activate(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// A form on driven time, its error reports recorded (or shown by the real
// message box), driven through its widgets as a user would.
struct DrivenForm {
    ManualClock clock;
    ManualWakeTimers wakes{clock};
    RecordingReport report;
    form::MessageBoxReport messageBox;
    form::TimerForm form;
    ManualWakeTimer& wake = *wakes.last;

    explicit DrivenForm(bool realReport = false)
        : form({clock, wakes.factory(), realReport ? static_cast<form::ErrorReport&>(messageBox) : report})
    {
    }

    template <typename Widget = QWidget>
    Widget* find(const char* name)
    {
        return form.window().findChild<Widget*>(QString::fromLatin1(name));
    }

    QString text(const char* name)
    {
        if (auto* label = find<QLabel>(name)) {
            return label->text();
        }
        return find<QLineEdit>(name)->text();
    }

    QStringList display() { return {text("Label1"), text("Label3"), text("Label5")}; }
    QStringList entries() { return {text("Text1"), text("Text2"), text("Text3")}; }

    void type(const char* box, const QString& text)
    {
        auto* entry = find<QLineEdit>(box);
        entry->selectAll();
        QTest::keyClick(entry, Qt::Key_Delete);
        QTest::keyClicks(entry, text);
    }

    void click(const char* button) { QTest::mouseClick(find(button), Qt::LeftButton); }

    // Lets n seconds pass, one tick each; false where the count stood still.
    bool tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            if (!wake.due() || !wake.advanceTo(*wake.due())) {
                return false;
            }
        }
        return true;
    }

    bool running() const { return form.running(); }
};

} // namespace timer::testing
